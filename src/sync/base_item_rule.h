#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/records/server_exchange_item_entity.h"

namespace examora {

// The tables that base items fill, picked by item name.
enum class BaseItemTable {
    Unknown,
    CourseClass,
    CourseSubClass,
    Course,
    District,
    CusSetting,
    Message,
    PhotoAD
};

// What a run does with one base item that it downloads.
struct BaseItemPlan {
    // Fetch every row and remove afterwards the local rows the server did not send.
    bool fullReload = false;
    // The local change date; empty when the local copy was never downloaded.
    std::string localDate;
    // The server's change date, stored as the item's date once its rows are written.
    std::string serverDate;
};

// The rules of base-item synchronisation that need no database.
//
// Dates are texts compared by character order; a missing date (none, JSON null or "NULL") is
// lower than every present one and equal to another missing one, and an empty text is present
// but lower than every non-empty one.
class BaseItemRule {
  public:
    // Negative, zero or positive as a sorts before, with or after b.
    static int compareTo(const std::optional<std::string>& a, const std::optional<std::string>& b);
    // Missing, "NULL" or the empty text.
    static bool isEmptyDate(const std::optional<std::string>& date);

    // Whether and how to download the server's entry, given the local entry of the same number
    // (nullptr when the local list has none). nullopt, downloading nothing, when the server gives
    // no change date, when there is no local entry, or when the server's date is not strictly
    // newer than the local one. A full reload needs a local date older than the server's
    // deletion date: a never-downloaded item fetches everything but sweeps nothing.
    static std::optional<BaseItemPlan> plan(const ServerExchangeItemEntity& server,
                                            const ServerExchangeItemEntity* local);

    // The date the item's changed rows are asked from: empty for a full reload.
    static std::string askFrom(bool fullReload, const std::string& localDate);

    // The date to store after the row-list call: the server's date when the service delivered
    // its answer (an empty list included), nothing when the call failed, so that the changes are
    // asked for again on the next run.
    static std::optional<std::string> dateAfterCall(bool delivered, const std::string& serverDate);

    // The table an item name fills, compared ignoring case; Unknown writes no rows.
    static BaseItemTable tableFor(std::string_view itemName);
};

}  // namespace examora
