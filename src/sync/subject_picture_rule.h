#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace examora {

// Where a question picture belongs: a 0 for the question (title or question text), anything else
// for the analysis; b numbers the picture within its part (0: the part's only picture).
struct PicturePosition {
    int a = 0;
    int b = 0;
};

// The rules of question pictures that need no database or files: the position named by a
// picture's table name, its token in the question text, its file name, and the replacement of
// the token by the picture.
class SubjectPictureRule {
  public:
    // Characters of the table name before the position tail ("coursesubject").
    static constexpr std::size_t kTableNamePrefix = 13;
    // The longest extension accepted from the service, in bytes.
    static constexpr std::size_t kMaxExtensionLength = 16;

    // The position from the table name's tail (after kTableNamePrefix characters): empty or one
    // character gives a = its integer value, b = 0; longer tails are split at "_", the first two
    // parts giving a and b, a tail without "_" giving a alone. Integer values read like a leading
    // decimal number (0 when there is none), clamped to the int range.
    static PicturePosition position(std::string_view tableName);
    // "{图" followed by b when b is not 0, then "}".
    static std::string token(const PicturePosition& position);
    // "<subjectId>_<a>", then "_<b>" when b is 1 or more, then "." and the extension when there
    // is one.
    static std::string fileName(int subjectId, const PicturePosition& position,
                                std::string_view extension);
    // Whether a service-given extension can be part of a file name inside the picture folder: no
    // "/", "\", "..", NUL or other control character, and at most kMaxExtensionLength bytes.
    static bool isSafeExtension(std::string_view extension);
    // The image element that shows the picture file at the full path.
    static std::string imageElement(const std::string& path);

    // Every occurrence of the token replaced by the picture at the path: by the image element
    // where the token stands bare, by the file URL alone where it stands inside quotes (as the
    // value of an attribute such as src="{图1}"), so that no element lands inside an attribute.
    // An empty text or one without the token is returned unchanged.
    static std::string replaceToken(const std::string& text, const std::string& token,
                                    const std::string& path);
};

}  // namespace examora
