#include "engine/base/QelFileDialogText.h"

namespace {

bool IsSeparator(char c)
{
    return c == '|' || c == '/' || c == '\\';
}

}  // namespace

// Empty pieces count as folder levels too: that keeps the root of an absolute
// path, and the '|' between two files is followed by the next one's root.
void SplitFileDialogText(const std::string& text, std::vector<std::string>& names)
{
    std::string folder;
    std::string piece;
    auto endPiece = [&] {
        if (piece.find('.') == std::string::npos) {
            folder += piece + "/";
        } else {
            names.push_back(folder);
            names.push_back(piece);
            folder.clear();
        }
        piece.clear();
    };
    for (const char c : text) {
        if (IsSeparator(c))
            endPiece();
        else
            piece += c;
    }
    endPiece();
}
