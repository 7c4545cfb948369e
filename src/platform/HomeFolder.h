// The user's home folder, and "~" at the start of a path typed by the user
// expanded as a shell does.
#pragma once
#include <string>

namespace tvk {

// $HOME, else the home folder of the password database; "/" when neither.
std::string HomeFolder();

// "~" and "~/x" give the home folder, "~user" and "~user/x" that user's home
// folder; any other path, and an unknown user, stay as they are.
std::string ExpandTilde(const std::string& path);

}  // namespace tvk
