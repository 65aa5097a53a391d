#pragma once

#include <string>
#include <vector>

namespace examora {

// A screen's list of rows, each a caption with its value; a row that opens something is marked
// so. Showing a list replaces the one shown before.
class RowListView {
  public:
    struct Row {
        std::string caption;
        std::string value;
        bool opens = false;
    };

    virtual ~RowListView() = default;
    virtual void showRows(const std::vector<Row>& rows) = 0;
};

}  // namespace examora
