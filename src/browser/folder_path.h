// The browser's folder moves as pure rules on a path text, for either path separator.
#pragma once

#include <string>

// The parent of `folder`, with a trailing separator; the root ("/" or a drive such as
// "C:\") stays where it is.
std::string FolderUp(const std::string& folder, char separator);
// `folder` joined to the sub-folder `name`, with a trailing separator.
std::string FolderDown(const std::string& folder, const std::string& name, char separator);
