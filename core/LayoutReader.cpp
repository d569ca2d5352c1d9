// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the stored layout text: one block per component, one property a
// line, raw bytes as a multi-line hex block. See docs/layout-format.md.

#include "core/ByteStream.h"
#include "core/ClassRegistry.h"
#include "core/Component.h"
#include "core/Layout.h"
#include "core/LayoutSyntax.h"
#include "core/LetterEscapes.h"

#include <bit>
#include <charconv>
#include <map>
#include <vector>

using namespace layout_syntax;

LayoutError::LayoutError(int line, std::string property, const std::string& message)
    : std::runtime_error("line " + std::to_string(line) +
                         (property.empty() ? std::string() : ", property " + property) + ": " +
                         message),
      line_(line), property_(std::move(property)), message_(message) {}

namespace {

enum class TokKind { Ident, Number, String, Punct, End };

struct Token {
    TokKind kind = TokKind::End;
    std::string text; // identifier, number spelling, decoded string, or the punctuation char
};

// Splits one line into tokens; '#' outside a string starts a comment.
class LineLexer {
public:
    LineLexer(std::string_view line, int lineNo) : s_(line), lineNo_(lineNo) {}

    std::vector<Token> Tokens() {
        std::vector<Token> out;
        while (true) {
            SkipSpace();
            if (pos_ >= s_.size() || s_[pos_] == '#')
                break;
            out.push_back(Next());
        }
        return out;
    }

private:
    void SkipSpace() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\r'))
            ++pos_;
    }

    [[noreturn]] void Fail(const std::string& msg) const { throw LayoutError(lineNo_, "", msg); }

    Token Next() {
        const char c = s_[pos_];
        if (IsIdentStart(c)) {
            std::size_t start = pos_;
            while (pos_ < s_.size() && IsIdentChar(s_[pos_]))
                ++pos_;
            return {TokKind::Ident, std::string(s_.substr(start, pos_ - start))};
        }
        if ((c >= '0' && c <= '9') || c == '-' || c == '+') {
            std::size_t start = pos_++;
            while (pos_ < s_.size() && (IsIdentChar(s_[pos_]) || s_[pos_] == '.' ||
                                        ((s_[pos_] == '-' || s_[pos_] == '+') &&
                                         (s_[pos_ - 1] == 'e' || s_[pos_ - 1] == 'E'))))
                ++pos_;
            return {TokKind::Number, std::string(s_.substr(start, pos_ - start))};
        }
        if (c == '"')
            return {TokKind::String, ReadString()};
        if (std::string_view(":{}=[],.()").find(c) != std::string_view::npos) {
            ++pos_;
            return {TokKind::Punct, std::string(1, c)};
        }
        Fail(std::string("unexpected character '") + c + "'");
    }

    std::string ReadString() {
        ++pos_; // opening quote
        std::string out;
        while (true) {
            if (pos_ >= s_.size())
                Fail("unterminated string");
            const char c = s_[pos_++];
            if (c == '"')
                return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= s_.size())
                Fail("unterminated string");
            const char e = s_[pos_++];
            switch (e) {
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case 'x': {
                if (pos_ + 2 > s_.size())
                    Fail("bad \\x escape in string");
                unsigned v = 0;
                auto [p, ec] = std::from_chars(s_.data() + pos_, s_.data() + pos_ + 2, v, 16);
                if (ec != std::errc() || p != s_.data() + pos_ + 2)
                    Fail("bad \\x escape in string");
                out += static_cast<char>(v);
                pos_ += 2;
                break;
            }
            default:
                if (const char control = EscapedControl(e, kLineEscapeLetters))
                    out += control;
                else
                    Fail(std::string("unknown escape \\") + e + " in string");
            }
        }
    }

    std::string_view s_;
    std::size_t pos_ = 0;
    int lineNo_;
};

std::optional<std::int64_t> ParseInteger(const std::string& text) {
    std::string_view s = text;
    bool negative = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty())
        return std::nullopt;
    std::uint64_t v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
    if (ec != std::errc() || p != s.data() + s.size())
        return std::nullopt;
    if (negative) {
        if (v > std::uint64_t(1) << 63)
            return std::nullopt;
        return static_cast<std::int64_t>(0 - v);
    }
    if (v > static_cast<std::uint64_t>(INT64_MAX))
        return std::nullopt;
    return static_cast<std::int64_t>(v);
}

std::optional<float> ParseFloat(const std::string& text) {
    std::string_view s = text;
    if (!s.empty() && s[0] == '+')
        s.remove_prefix(1);
    if (s.size() > 2 && (s[0] == '0') && (s[1] == 'x' || s[1] == 'X'))
        return std::nullopt;
    float v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size())
        return std::nullopt;
    return v;
}

struct Frame {
    TComponent* component;
    int line;
};

class Reader {
public:
    Reader(std::string_view text) : text_(text) {}

    // createRoot gets (class, line) and returns the root to read into.
    void Run(const std::function<TComponent*(const std::string&, int)>& createRoot) {
        try {
            Parse(createRoot);
        } catch (...) {
            Cleanup();
            throw;
        }
        // Loading ends for everything at once, in creation order.
        for (TComponent* c : created_)
            c->Loaded();
    }

    TComponent* Root() const { return root_; }

private:
    std::vector<std::string_view> SplitLines() const {
        std::vector<std::string_view> lines;
        std::size_t start = 0;
        while (start <= text_.size()) {
            std::size_t nl = text_.find('\n', start);
            if (nl == std::string_view::npos) {
                lines.push_back(text_.substr(start));
                break;
            }
            lines.push_back(text_.substr(start, nl - start));
            start = nl + 1;
        }
        return lines;
    }

    void Parse(const std::function<TComponent*(const std::string&, int)>& createRoot) {
        const auto lines = SplitLines();
        std::vector<Frame> stack;
        bool done = false;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const int lineNo = static_cast<int>(i) + 1;
            auto toks = LineLexer(lines[i], lineNo).Tokens();
            if (toks.empty())
                continue;
            if (done)
                throw LayoutError(lineNo, "", "text after the end of the top component");
            // "}" closes the innermost component.
            if (toks.size() == 1 && IsPunct(toks[0], "}")) {
                if (stack.empty())
                    throw LayoutError(lineNo, "", "'}' without an open component");
                stack.pop_back();
                if (stack.empty())
                    done = true;
                continue;
            }
            // "Name: Class {" opens a component.
            if (toks.size() == 4 && toks[0].kind == TokKind::Ident && IsPunct(toks[1], ":") &&
                toks[2].kind == TokKind::Ident && IsPunct(toks[3], "{")) {
                OpenComponent(toks[0].text, toks[2].text, lineNo, stack, createRoot);
                continue;
            }
            if (stack.empty())
                throw LayoutError(lineNo, "", "expected 'Name: Class {'");
            i = ReadProperty(toks, lines, i, stack.back().component);
        }
        if (!stack.empty())
            throw LayoutError(stack.back().line, "",
                              "component '" + stack.back().component->Name() +
                                  "' is not closed with '}'");
        if (!root_)
            throw LayoutError(static_cast<int>(lines.size()), "", "no component in the layout");
    }

    static bool IsPunct(const Token& t, const char* p) {
        return t.kind == TokKind::Punct && t.text == p;
    }

    void OpenComponent(const std::string& name, const std::string& cls, int lineNo,
                       std::vector<Frame>& stack,
                       const std::function<TComponent*(const std::string&, int)>& createRoot) {
        if (stack.empty()) {
            root_ = createRoot(cls, lineNo);
            rootLoadingBefore_ = root_->IsLoading();
            root_->SetName(name);
            root_->SetLoading(true);
            created_.push_back(root_);
            stack.push_back({root_, lineNo});
            return;
        }
        if (root_->FindComponent(name))
            throw LayoutError(lineNo, "", "duplicate component name '" + name + "'");
        if (!ClassRegistry::Instance().Has(cls))
            throw LayoutError(lineNo, "", "unknown class '" + cls + "'");
        TComponent* c = nullptr;
        try {
            c = ClassRegistry::Instance().Create(cls, root_);
        } catch (const std::exception& e) {
            throw LayoutError(lineNo, "", "cannot create '" + name + "': " + e.what());
        }
        if (!c)
            throw LayoutError(lineNo, "", "cannot create '" + name + "'");
        ownedByUs_.push_back(c);
        created_.push_back(c);
        c->SetLoading(true);
        c->SetName(name);
        try {
            c->SetParentComponent(stack.back().component);
        } catch (const std::exception& e) {
            throw LayoutError(lineNo, "", std::string("cannot place '") + name + "': " + e.what());
        }
        stack.push_back({c, lineNo});
    }

    const PropertyList& PropsOf(TPersistent* p) {
        auto it = propCache_.find(p);
        if (it == propCache_.end())
            it = propCache_.emplace(p, p->StoredProperties()).first;
        return it->second;
    }

    // Reads "Path = value" (or a bytes block starting there); returns the
    // index of the last line consumed.
    std::size_t ReadProperty(const std::vector<Token>& toks,
                             const std::vector<std::string_view>& lines, std::size_t index,
                             TComponent* component) {
        const int lineNo = static_cast<int>(index) + 1;
        // Path: Ident ('.' Ident)* '='
        std::size_t t = 0;
        std::vector<std::string> path;
        while (true) {
            if (t >= toks.size() || toks[t].kind != TokKind::Ident)
                throw LayoutError(lineNo, "", "expected a property name");
            path.push_back(toks[t++].text);
            if (t < toks.size() && IsPunct(toks[t], ".")) {
                ++t;
                continue;
            }
            break;
        }
        std::string fullName;
        for (const auto& p : path)
            fullName += (fullName.empty() ? "" : ".") + p;
        if (t >= toks.size() || !IsPunct(toks[t], "="))
            throw LayoutError(lineNo, fullName, "expected '=' after the property name");
        ++t;
        if (t >= toks.size())
            throw LayoutError(lineNo, fullName, "missing value");

        // Walk to the settings object that holds the last name.
        TPersistent* target = component;
        for (std::size_t k = 0; k + 1 < path.size(); ++k) {
            const PropertyInfo* info = PropsOf(target).Find(path[k]);
            if (!info || info->kind != PropertyKind::Object)
                throw LayoutError(lineNo, fullName, "unknown settings object '" + path[k] + "'");
            target = info->object(*target);
            if (!target)
                throw LayoutError(lineNo, fullName, "settings object '" + path[k] + "' is empty");
        }

        // Raw bytes: "Name = bytes {" hex... "}"
        if (toks[t].kind == TokKind::Ident && toks[t].text == "bytes" && t + 1 < toks.size() &&
            IsPunct(toks[t + 1], "{")) {
            RawPropertyList raw = target->RawProperties();
            const RawPropertyInfo* info = raw.Find(path.back());
            if (!info)
                throw LayoutError(lineNo, fullName, "unknown raw-byte property");
            std::string hex;
            std::size_t last = index;
            bool closed = false;
            std::string_view rest = lines[index];
            rest.remove_prefix(rest.find('{') + 1);
            while (true) {
                const auto close = rest.find('}');
                hex.append(rest.substr(0, close));
                if (close != std::string_view::npos) {
                    if (rest.substr(close + 1).find_first_not_of(" \t\r") != std::string_view::npos)
                        throw LayoutError(static_cast<int>(last) + 1, fullName,
                                          "text after the end of the bytes");
                    closed = true;
                    break;
                }
                if (++last >= lines.size())
                    break;
                rest = lines[last];
            }
            if (!closed)
                throw LayoutError(lineNo, fullName, "bytes block is not closed with '}'");
            TMemoryStream stream(DecodeHex(hex, lineNo, fullName));
            try {
                info->read(stream);
            } catch (const std::exception& e) {
                throw LayoutError(lineNo, fullName, e.what());
            }
            return last;
        }

        const PropertyInfo* info = PropsOf(target).Find(path.back());
        if (!info)
            throw LayoutError(lineNo, fullName, "unknown property");
        PropertyValue value = ConvertValue(*info, toks, t, lineNo, fullName);
        try {
            info->set(*target, value);
        } catch (const LayoutError&) {
            throw;
        } catch (const std::exception& e) {
            throw LayoutError(lineNo, fullName, e.what());
        }
        return index;
    }

    static std::vector<std::uint8_t> DecodeHex(const std::string& hex, int lineNo,
                                               const std::string& prop) {
        std::vector<std::uint8_t> out;
        int pending = -1;
        for (char c : hex) {
            if (c == ' ' || c == '\t' || c == '\r')
                continue;
            int v;
            if (c >= '0' && c <= '9')
                v = c - '0';
            else if (c >= 'a' && c <= 'f')
                v = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                v = c - 'A' + 10;
            else
                throw LayoutError(lineNo, prop, std::string("bad hex digit '") + c + "'");
            if (pending < 0) {
                pending = v;
            } else {
                out.push_back(static_cast<std::uint8_t>(pending * 16 + v));
                pending = -1;
            }
        }
        if (pending >= 0)
            throw LayoutError(lineNo, prop, "bad hex: odd number of digits");
        return out;
    }

    static PropertyValue ConvertValue(const PropertyInfo& info, const std::vector<Token>& toks,
                                      std::size_t t, int lineNo, const std::string& prop) {
        auto fail = [&](const std::string& msg) -> LayoutError {
            return LayoutError(lineNo, prop, msg);
        };
        const Token& tok = toks[t];
        auto single = [&] {
            if (t + 1 != toks.size())
                throw fail("unexpected text after the value");
        };
        auto inRange = [&](std::int64_t v) {
            if (v < info.minValue || v > info.maxValue)
                throw fail("value " + std::to_string(v) + " is out of range");
            return v;
        };
        switch (info.kind) {
        case PropertyKind::Integer: {
            single();
            auto v = tok.kind == TokKind::Number ? ParseInteger(tok.text) : std::nullopt;
            if (!v)
                throw fail("expected a whole number, found '" + tok.text + "'");
            return inRange(*v);
        }
        case PropertyKind::Float: {
            if (tok.kind == TokKind::Ident && tok.text == "bits") {
                if (toks.size() != t + 4 || !IsPunct(toks[t + 1], "(") ||
                    toks[t + 2].kind != TokKind::Number || !IsPunct(toks[t + 3], ")"))
                    throw fail("expected bits(0xXXXXXXXX)");
                auto v = ParseInteger(toks[t + 2].text);
                if (!v || *v < 0 || *v > 0xFFFFFFFFll)
                    throw fail("bad float bits");
                return std::bit_cast<float>(static_cast<std::uint32_t>(*v));
            }
            single();
            auto v = tok.kind == TokKind::Number ? ParseFloat(tok.text) : std::nullopt;
            if (!v)
                throw fail("expected a number, found '" + tok.text + "'");
            return *v;
        }
        case PropertyKind::Boolean:
            single();
            if (tok.kind == TokKind::Ident && (tok.text == "true" || tok.text == "false"))
                return tok.text == "true";
            throw fail("expected true or false, found '" + tok.text + "'");
        case PropertyKind::String:
            single();
            if (tok.kind != TokKind::String)
                throw fail("expected a quoted string");
            return tok.text;
        case PropertyKind::Enum: {
            single();
            if (tok.kind == TokKind::Ident)
                for (std::size_t m = 0; m < info.members.size(); ++m)
                    if (info.members[m] == tok.text)
                        return static_cast<std::int64_t>(m);
            throw fail("'" + tok.text + "' is not a member of the enumeration");
        }
        case PropertyKind::Set: {
            if (!IsPunct(tok, "["))
                throw fail("expected a set in [ ]");
            std::int64_t mask = 0;
            std::size_t k = t + 1;
            bool expectMember = true;
            for (; k < toks.size() && !IsPunct(toks[k], "]"); ++k) {
                if (expectMember) {
                    std::size_t m = 0;
                    while (m < info.members.size() && info.members[m] != toks[k].text)
                        ++m;
                    if (toks[k].kind != TokKind::Ident || m == info.members.size() || m >= 63)
                        throw fail("'" + toks[k].text + "' is not a member of the set");
                    mask |= std::int64_t(1) << m;
                } else if (!IsPunct(toks[k], ",")) {
                    throw fail("expected ',' between set members");
                }
                expectMember = !expectMember;
            }
            if (k >= toks.size())
                throw fail("set is not closed with ']'");
            if (k + 1 != toks.size())
                throw fail("unexpected text after the value");
            if (expectMember && k != t + 1)
                throw fail("set ends with ','");
            return inRange(mask);
        }
        case PropertyKind::Color: {
            single();
            if (tok.kind == TokKind::Ident) {
                if (auto c = ColorFromName(tok.text))
                    return static_cast<std::int64_t>(*c);
                throw fail("unknown colour name '" + tok.text + "'");
            }
            auto v = tok.kind == TokKind::Number ? ParseInteger(tok.text) : std::nullopt;
            if (!v)
                throw fail("expected a colour, found '" + tok.text + "'");
            return inRange(*v);
        }
        case PropertyKind::Ident:
            single();
            if (tok.kind == TokKind::Ident)
                return tok.text;
            if (tok.kind == TokKind::String && tok.text.empty())
                return std::string();
            throw fail("expected a name, found '" + tok.text + "'");
        case PropertyKind::Object:
            throw fail("is a settings object; set its properties as " + prop + ".Name");
        }
        throw fail("unsupported property kind");
    }

    void Cleanup() {
        // Destroy what this read created, newest first, and leave the root
        // as it was.
        for (auto it = ownedByUs_.rbegin(); it != ownedByUs_.rend(); ++it)
            delete *it;
        ownedByUs_.clear();
        if (root_)
            root_->SetLoading(rootLoadingBefore_);
    }

    std::string_view text_;
    TComponent* root_ = nullptr;
    bool rootLoadingBefore_ = false;
    std::vector<TComponent*> created_;
    std::vector<TComponent*> ownedByUs_;
    std::map<TPersistent*, PropertyList> propCache_;
};

} // namespace

void ReadLayoutInto(TComponent& root, std::string_view text) {
    Reader reader(text);
    reader.Run([&root](const std::string& cls, int line) -> TComponent* {
        if (cls != root.ClassName())
            throw LayoutError(line, "",
                              "top component is a " + cls + ", expected " + root.ClassName());
        return &root;
    });
}

std::unique_ptr<TComponent> ReadLayout(std::string_view text, TComponent* owner) {
    std::unique_ptr<TComponent> root;
    Reader reader(text);
    try {
        reader.Run([&](const std::string& cls, int line) -> TComponent* {
            if (!ClassRegistry::Instance().Has(cls))
                throw LayoutError(line, "", "unknown class '" + cls + "'");
            root.reset(ClassRegistry::Instance().Create(cls, owner));
            if (!root)
                throw LayoutError(line, "", "cannot create a " + cls);
            return root.get();
        });
    } catch (...) {
        root.reset();
        throw;
    }
    return root;
}
