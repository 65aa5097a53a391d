#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace examora {

// The links by which a question page (and the notes list page) report the learner's taps:
// "ios://" + command, optionally "/" + argument. The web view asks about every navigation;
// only the blank page may load, everything else is refused, and an "ios" link is then handed to
// the screen as a PageLink.
struct PageLink {
    std::string command;   // as written; compare with is()
    std::string argument;  // the field after the command; empty when there is none
    bool hasArgument = false;

    // The command, compared ignoring case.
    bool is(std::string_view verb) const;

    // Whether the web view may load the address: the blank page only.
    static bool allowsLoad(std::string_view url);
    // The link an address carries: the scheme before "://" must be exactly "ios"; the rest is
    // percent-decoded (it must decode to UTF-8) and split at "/", the first field being the
    // command and the second the argument. Further fields are dropped, so an argument never
    // holds "/". nullopt for any other address or an empty command.
    static std::optional<PageLink> parse(std::string_view url);
    // The note id of a notes page's "ios://donoteitem/<id>" link; nullopt for any other address
    // or an id that is not a whole positive number.
    static std::optional<int> noteItemId(std::string_view url);

    // "%XX" escapes decoded; nullopt for a broken escape or a result that is not UTF-8.
    static std::optional<std::string> percentDecode(std::string_view text);
};

}  // namespace examora
