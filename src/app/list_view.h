#pragma once
// Report-style list views: column widths and rows of text.

#include <initializer_list>
#include <string>
#include <vector>

class QTreeWidget;

namespace varnel::app {

void set_columns(QTreeWidget* view, std::initializer_list<int> widths);
void set_rows(QTreeWidget* view, const std::vector<std::vector<std::string>>& rows);

}  // namespace varnel::app
