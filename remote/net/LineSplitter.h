// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Cuts a client's byte stream into lines ending in LF (a CR before it is
// dropped). A line longer than the limit is reported once and the rest of
// it, up to its LF, is dropped. Bytes after the last LF wait for more; a
// client that goes mid-line leaves them unread, never run.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace remote_net {

class LineSplitter {
public:
    explicit LineSplitter(std::size_t longestLine) : longest_(longestLine) {}

    // `line` for each complete line (without its end), `tooLong` once for
    // each line over the limit.
    void Feed(std::string_view bytes, const std::function<void(std::string_view)>& line,
              const std::function<void()>& tooLong);
    bool MidLine() const { return !partial_.empty() || dropping_; }

private:
    std::size_t longest_;
    std::string partial_;
    bool dropping_ = false;
};

} // namespace remote_net
