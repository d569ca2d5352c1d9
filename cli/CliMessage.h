// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A command-line message built where Qt is not at hand (the option readers
// are fuzzed without it) and translated where it is shown: the English
// text, with Qt's placeholders %1..%9, and what goes into them. Each
// argument is shown as it is (a number, an option's name, what the user
// typed) or is itself an English text to translate (a unit such as "Hz").
// The English texts are the sources of the translations (context "cli").

#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

// An English text that is translated when shown, as a message's argument.
struct CliFragment {
    const char* english;
};

struct CliArgument {
    std::string text;
    bool translated = false; // text is English to translate

    CliArgument(std::string shown) : text(std::move(shown)) {}
    CliArgument(const char* shown) : text(shown) {}
    CliArgument(CliFragment fragment) : text(fragment.english), translated(true) {}
    template <class Number, class = std::enable_if_t<std::is_integral_v<Number>>>
    CliArgument(Number number) : text(std::to_string(number)) {}
};

class CliMessage {
public:
    CliMessage() = default;
    CliMessage(const char* english, std::vector<CliArgument> arguments = {})
        : english_(english), arguments_(std::move(arguments)) {}

    // No message: the value was taken.
    bool empty() const { return english_ == nullptr; }
    const char* English() const { return english_; }

    // The message in English.
    std::string Text() const;
    // The message with each English text (the message's own and its
    // translated arguments) replaced by what `translate` gives for it.
    template <class Translate> std::string Text(const Translate& translate) const {
        if (empty())
            return {};
        std::vector<std::string> filled;
        filled.reserve(arguments_.size());
        for (const CliArgument& a : arguments_)
            filled.push_back(a.translated ? std::string(translate(a.text.c_str())) : a.text);
        return FillPlaceholders(translate(english_), filled);
    }

    // The placeholders %1..%9 of `pattern` filled in one pass, so that an
    // argument holding "%2" is shown as typed. A placeholder without an
    // argument stays as it is.
    static std::string FillPlaceholders(std::string_view pattern,
                                        const std::vector<std::string>& arguments);

private:
    const char* english_ = nullptr;
    std::vector<CliArgument> arguments_;
};
