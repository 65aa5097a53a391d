#pragma once

#include <optional>
#include <string>

namespace examora {

// Where the application keeps its files.
//
// The application home is, in order: the directory set with setHome (the command line's --home,
// or a test), the environment variable EXAMORA_HOME, $XDG_DATA_HOME/examora, and
// $HOME/.local/share/examora. It holds the preferences file, the secure item store and the
// documents directory (the working database and the picture directory).
//
// The read-only resource directory (the template database, the page style sheet and images) is,
// in order: the directory set with setResourceDirectory, the environment variable
// EXAMORA_RESOURCES, "resources" beside the executable (the build tree), "../share/examora" from
// the executable (an installed copy), and the build tree's resource directory known at compile
// time.
class Paths {
  public:
    // Process-wide override of the application home; nullopt returns to the environment's choice.
    static void setHome(const std::optional<std::string>& dir);
    static std::string home();

    // The documents directory inside the home, created (with the home) when missing.
    static std::string documentsDirectory();
    static std::string preferencesFile();
    static std::string secureDirectory();

    static void setResourceDirectory(const std::optional<std::string>& dir);
    static std::string resourceDirectory();
    // The resource "name.type" when such a file exists, like a bundle's resource lookup.
    static std::optional<std::string> pathForResource(const std::string& name,
                                                      const std::string& type);
};

}  // namespace examora
