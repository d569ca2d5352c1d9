// SPDX-License-Identifier: GPL-3.0-or-later
// Writes components as stored layout text: per component the declared
// properties that differ from their defaults, in declaration order, then the
// raw-byte properties, then the nested components.

#include "core/ByteStream.h"
#include "core/Component.h"
#include "core/Layout.h"
#include "core/LayoutSyntax.h"

#include <bit>
#include <sstream>

using namespace layout_syntax;

namespace {

bool SameValue(const PropertyValue& a, const PropertyValue& b) {
    // Floats compare by their bits, so that -0.0 is written when the default
    // is 0.0 and reading gives the very same value back.
    if (std::holds_alternative<float>(a) && std::holds_alternative<float>(b))
        return std::bit_cast<std::uint32_t>(std::get<float>(a)) ==
               std::bit_cast<std::uint32_t>(std::get<float>(b));
    return a == b;
}

std::string FormatValue(const PropertyInfo& info, const PropertyValue& v) {
    switch (info.kind) {
    case PropertyKind::Integer:
        return std::to_string(std::get<std::int64_t>(v));
    case PropertyKind::Float:
        return FormatFloat(std::get<float>(v));
    case PropertyKind::Boolean:
        return std::get<bool>(v) ? "true" : "false";
    case PropertyKind::String:
        return QuoteString(std::get<std::string>(v));
    case PropertyKind::Ident:
        return std::get<std::string>(v);
    case PropertyKind::Enum: {
        const auto ordinal = std::get<std::int64_t>(v);
        if (ordinal >= 0 && static_cast<std::size_t>(ordinal) < info.members.size())
            return info.members[static_cast<std::size_t>(ordinal)];
        throw std::out_of_range(info.name + ": ordinal " + std::to_string(ordinal) +
                                " has no member name");
    }
    case PropertyKind::Set: {
        const auto mask = std::get<std::int64_t>(v);
        std::string out = "[";
        for (std::size_t m = 0; m < info.members.size() && m < 63; ++m)
            if (mask & (std::int64_t(1) << m))
                out += (out.size() > 1 ? ", " : "") + info.members[m];
        return out + "]";
    }
    case PropertyKind::Color: {
        const auto c = static_cast<TColor>(std::get<std::int64_t>(v));
        if (IsSystemColor(c))
            if (auto name = ColorName(c))
                return std::string(*name);
        return FormatHex32(c);
    }
    case PropertyKind::Object:
        break;
    }
    return {};
}

class Writer {
public:
    std::string Run(TComponent& root) {
        root_ = &root;
        WriteComponent(root, 0);
        return out_.str();
    }

private:
    void Indent(int depth) { out_ << std::string(static_cast<std::size_t>(depth) * 2, ' '); }

    void WriteProperties(TPersistent& obj, const std::string& prefix, int depth) {
        const PropertyList props = obj.StoredProperties();
        for (const PropertyInfo& info : props.Items()) {
            if (info.kind == PropertyKind::Object) {
                if (TPersistent* sub = info.object(obj))
                    WriteProperties(*sub, prefix + info.name + ".", depth);
                continue;
            }
            const PropertyValue v = info.get(obj);
            if (info.defaultValue && SameValue(v, *info.defaultValue))
                continue;
            Indent(depth);
            out_ << prefix << info.name << " = " << FormatValue(info, v) << '\n';
        }
        const RawPropertyList raw = obj.RawProperties();
        for (const RawPropertyInfo& info : raw.Items()) {
            if (!info.hasData)
                continue;
            TMemoryStream stream;
            info.write(stream);
            Indent(depth);
            out_ << prefix << info.name << " = bytes {\n";
            for (const std::string& line : FormatHexLines(stream.Bytes())) {
                Indent(depth + 1);
                out_ << line << '\n';
            }
            Indent(depth);
            out_ << "}\n";
        }
    }

    void WriteComponent(TComponent& c, int depth) {
        Indent(depth);
        out_ << c.Name() << ": " << c.ClassName() << " {\n";
        WriteProperties(c, "", depth + 1);
        for (TComponent* child : root_->Components()) {
            TComponent* parent = child->ParentComponent() ? child->ParentComponent() : root_;
            if (parent == &c && child != &c)
                WriteComponent(*child, depth + 1);
        }
        Indent(depth);
        out_ << "}\n";
    }

    TComponent* root_ = nullptr;
    std::ostringstream out_;
};

} // namespace

std::string WriteLayout(TComponent& root) {
    return Writer().Run(root);
}
