// ExchangeRule: batching, upload marks, task tables and paper matching of the learner-data
// exchange.
#include "sync/exchange_rule.h"

#include <algorithm>

#include "platform/text_util.h"

namespace examora {

ExchangeTable ExchangeRule::tableFor(std::string_view itemName) {
    const std::string name = toLowerAscii(itemName);
    if (name == "cs_writenote") return ExchangeTable::WriteNote;
    if (name == "cs_writeerror") return ExchangeTable::WriteError;
    if (name == "simulationlog") return ExchangeTable::SimulationLog;
    return ExchangeTable::Unknown;
}

std::vector<std::pair<std::size_t, std::size_t>> ExchangeRule::batches(std::size_t rows,
                                                                       std::size_t batchSize) {
    std::vector<std::pair<std::size_t, std::size_t>> out;
    if (batchSize == 0) batchSize = kBatchSize;
    for (std::size_t begin = 0; begin < rows; begin += batchSize)
        out.emplace_back(begin, std::min(rows, begin + batchSize));
    return out;
}

std::string ExchangeRule::startDate(bool clear, const std::string& mark) {
    if (clear || isEmpty(std::string_view(mark))) return kNever;
    return mark;
}

std::optional<std::string> ExchangeRule::markAfterPass(bool allDelivered,
                                                       const std::string& passStart) {
    if (!allDelivered || passStart.empty()) return std::nullopt;
    return passStart;
}

bool ExchangeRule::mayMatchByNumber(const std::optional<std::string>& uploaderMachine,
                                    const std::string& thisMachine) {
    if (!uploaderMachine || isEmpty(std::string_view(*uploaderMachine))) return true;
    return *uploaderMachine == thisMachine;
}

bool ExchangeRule::sendable(const Dict& row) {
    for (const auto& [name, value] : row) {
        if (value.isText() && !isValidUtf8(*value.textPtr())) return false;
    }
    return true;
}

}  // namespace examora
