#include "desktop/output_text.hpp"

namespace zelo::desktop {

std::vector<std::string> SplitOutputText(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string_view::npos;
         end = text.find('\n', start)) {
        std::string_view piece = text.substr(start, end - start);
        if (!piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
        // A fixed pending buffer would have lost the whole line, line feed
        // included; the line is cut instead, so that the result still shows.
        if (piece.size() > kMaxOutputLineBytes) piece = piece.substr(0, kMaxOutputLineBytes);
        lines.emplace_back(piece);
        start = end + 1;
    }
    return lines;
}

int LargerFontSize(int size) { return size + 2; }

int SmallerFontSize(int size) { return size <= 8 ? size : size - 2; }

}  // namespace zelo::desktop
