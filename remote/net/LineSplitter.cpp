// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/net/LineSplitter.h"

namespace remote_net {

void LineSplitter::Feed(std::string_view bytes, const std::function<void(std::string_view)>& line,
                        const std::function<void()>& tooLong) {
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, end);
        if (!dropping_) {
            // The CR of a CR LF is no part of the line, nor of its length.
            const std::size_t crAtEnd =
                end != bytes.npos &&
                (piece.empty() ? partial_.ends_with('\r') : piece.back() == '\r');
            if (partial_.size() + piece.size() - crAtEnd > longest_) {
                tooLong();
                partial_.clear();
                dropping_ = true;
            } else if (end == bytes.npos) {
                partial_.append(piece);
            } else if (partial_.empty()) {
                line(piece.substr(0, piece.size() - crAtEnd));
            } else {
                partial_.append(piece);
                partial_.resize(partial_.size() - crAtEnd);
                const std::string whole = std::move(partial_);
                partial_.clear();
                line(whole);
            }
        }
        if (end == bytes.npos)
            return;
        dropping_ = false;
        bytes.remove_prefix(end + 1);
    }
}

} // namespace remote_net
