// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/CommandPattern.h"

#include <stdexcept>
#include <string>

namespace remote {
namespace {

constexpr int kLowestChannel = 1;
constexpr int kHighestChannel = 2;

} // namespace

CommandPattern::CommandPattern(std::string_view written) {
    std::size_t i = 0;
    while (i < written.size()) {
        const bool optional = written[i] == '[';
        if (optional)
            ++i;
        if (i < written.size() && written[i] == ':')
            ++i;
        std::size_t end = i;
        while (end < written.size() && written[end] != ':' && written[end] != '[' &&
               written[end] != ']')
            ++end;
        std::string_view keyword = written.substr(i, end - i);
        const bool numbered = !keyword.empty() && keyword.back() == '#';
        if (numbered)
            keyword.remove_suffix(1);
        if (keyword.empty())
            throw std::invalid_argument("empty keyword in command pattern " + std::string(written));
        nodes_.push_back({Mnemonic(keyword), optional, numbered});
        i = end;
        if (optional) {
            if (i < written.size() && written[i] == ':')
                ++i;
            if (i >= written.size() || written[i] != ']')
                throw std::invalid_argument("unclosed [ in command pattern " +
                                            std::string(written));
            ++i;
        }
    }
}

CommandPattern::Match CommandPattern::Matches(const std::vector<HeaderNode>& nodes,
                                              std::optional<int>& number) const {
    number.reset();
    return MatchFrom(0, 0, nodes, number);
}

CommandPattern::Match CommandPattern::MatchFrom(std::size_t pattern, std::size_t node,
                                                const std::vector<HeaderNode>& nodes,
                                                std::optional<int>& number) const {
    if (pattern == nodes_.size())
        return node == nodes.size() ? Match::Yes : Match::No;
    const Node& p = nodes_[pattern];
    Match taken = Match::No;
    if (node < nodes.size() && p.mnemonic.Matches(nodes[node].mnemonic) &&
        (p.numbered || !nodes[node].number)) {
        taken = MatchFrom(pattern + 1, node + 1, nodes, number);
        if (taken == Match::Yes && p.numbered && nodes[node].number) {
            number = nodes[node].number;
            if (*number < kLowestChannel || *number > kHighestChannel)
                return Match::NumberOutOfRange;
        }
        if (taken != Match::No)
            return taken;
    }
    if (p.optional)
        return MatchFrom(pattern + 1, node, nodes, number);
    return Match::No;
}

} // namespace remote
