#include "app/list_view.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace varnel::app {

void set_columns(QTreeWidget* view, std::initializer_list<int> widths) {
  view->header()->setStretchLastSection(false);
  int column = 0;
  for (int width : widths) view->setColumnWidth(column++, width);
}

void set_rows(QTreeWidget* view, const std::vector<std::vector<std::string>>& rows) {
  view->setUpdatesEnabled(false);
  view->clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<int>(rows.size()));
  for (const auto& row : rows) {
    QStringList cells;
    for (const auto& cell : row) cells << QString::fromStdString(cell);
    items << new QTreeWidgetItem(cells);
  }
  view->addTopLevelItems(items);
  view->setUpdatesEnabled(true);
}

}  // namespace varnel::app
