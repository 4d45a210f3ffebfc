#pragma once
// The answer of a file dialog turned into the list the game reads: for every
// chosen file, its folder (ending in '/') and its file name, as two entries.

#include <string>
#include <vector>

// Cuts the text at every '|', '/' and '\'. A piece without a '.' is a folder
// level and is added to the folder with a '/' after it; a piece with a '.' is
// a file name: the folder collected so far and the name are appended, and the
// folder starts again empty. So "/home/pilot/a.txt" gives "/home/pilot/" and
// "a.txt", and a folder whose name holds a dot comes out as an entry of its
// own. A trailing piece without a dot gives nothing. The output is appended to.
void SplitFileDialogText(const std::string& text, std::vector<std::string>& names);
