// SPDX-License-Identifier: GPL-3.0-or-later
// The whole panel written with the layout writer and read back: every
// declared property of every component (settings objects included) and every
// raw-byte property must come back with the value it was written with.

#include "PanelFixture.h"
#include "core/ByteStream.h"
#include "core/ClassRegistry.h"
#include "core/Layout.h"

#include <sstream>

namespace {

std::string Show(const PropertyValue& v) {
    std::ostringstream out;
    std::visit([&out](const auto& x) { out << x; }, v);
    return out.str();
}

// Lists "Component.Property: written -> read" for every property of `read`
// that differs from `written`, descending into settings objects.
void CompareProperties(TPersistent& written, TPersistent& read, const std::string& prefix,
                       std::vector<std::string>& differences) {
    const PropertyList props = written.StoredProperties();
    const PropertyList readProps = read.StoredProperties();
    for (const PropertyInfo& info : props.Items()) {
        const std::string name = prefix + info.name;
        const PropertyInfo* other = readProps.Find(info.name);
        if (!other) {
            differences.push_back(name + ": not declared after reading");
            continue;
        }
        if (info.kind == PropertyKind::Object) {
            TPersistent* a = info.object(written);
            TPersistent* b = other->object(read);
            if (a && b)
                CompareProperties(*a, *b, name + ".", differences);
            else if (a || b)
                differences.push_back(name + ": settings object missing on one side");
            continue;
        }
        const PropertyValue a = info.get(written);
        const PropertyValue b = other->get(read);
        if (a != b)
            differences.push_back(name + ": " + Show(a) + " -> " + Show(b));
    }
    const RawPropertyList raw = written.RawProperties();
    const RawPropertyList readRaw = read.RawProperties();
    for (const RawPropertyInfo& info : raw.Items()) {
        const RawPropertyInfo* other = readRaw.Find(info.name);
        if (!other || other->hasData != info.hasData) {
            differences.push_back(prefix + info.name + ": raw data missing after reading");
            continue;
        }
        TMemoryStream a, b;
        info.write(a);
        other->write(b);
        if (a.Bytes() != b.Bytes())
            differences.push_back(prefix + info.name + ": raw data differs");
    }
}

// Lists the declared properties of `obj` whose value is not their declared
// default: a stored layout leaves out values equal to their default, so a
// newly built control must hold exactly its defaults.
void CompareWithDefaults(TPersistent& obj, const std::string& prefix,
                         std::vector<std::string>& differences) {
    const PropertyList props = obj.StoredProperties();
    for (const PropertyInfo& info : props.Items()) {
        if (info.kind == PropertyKind::Object) {
            if (TPersistent* sub = info.object(obj))
                CompareWithDefaults(*sub, prefix + info.name + ".", differences);
        } else if (info.defaultValue && info.get(obj) != *info.defaultValue) {
            differences.push_back(prefix + info.name + ": default " + Show(*info.defaultValue) +
                                  ", built with " + Show(info.get(obj)));
        }
    }
}

} // namespace

TEST_F(PanelTest, EveryNewControlHoldsItsDeclaredDefaults) {
    std::vector<std::string> differences;
    for (const std::string& name : ClassRegistry::Instance().ClassNames()) {
        std::unique_ptr<TComponent> c(ClassRegistry::Instance().Create(name, form.get()));
        CompareWithDefaults(*c, name + ".", differences);
    }
    std::string list;
    for (const std::string& d : differences)
        list += d + '\n';
    EXPECT_TRUE(differences.empty()) << list;
}

TEST_F(PanelTest, WrittenPanelReadsBackEveryDeclaredProperty) {
    const std::string text = WriteLayout(*form);
    TForm1 copy(text, nullptr);
    std::vector<std::string> differences;
    CompareProperties(*form, copy, "", differences);
    ASSERT_EQ(copy.ComponentCount(), form->ComponentCount());
    for (TComponent* c : form->Components()) {
        TComponent* again = copy.FindComponent(c->Name());
        ASSERT_NE(again, nullptr) << c->Name();
        EXPECT_EQ(again->ClassName(), c->ClassName());
        CompareProperties(*c, *again, c->Name() + ".", differences);
    }
    std::string list;
    for (const std::string& d : differences)
        list += d + '\n';
    EXPECT_TRUE(differences.empty()) << list;
}
