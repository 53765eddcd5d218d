#pragma once
// The property view: a tab control over one large-icon list. Tab 0 "Area Format" lists the
// eleven formats (thumbnails drawn from the area tables, labels "0".."10"); dragging one onto
// the layout view applies it. The other six tabs ("Move In", "Move Out", "Picture", "AVI", "ZRT",
// "Time") show their labels and an empty list for now. The current tab is the application-wide
// value "FIRST_SEL_RC", handed in and reported back.
#include <QListWidget>
#include <QWidget>

class QTabBar;

namespace brightline::ui {

inline constexpr const char* kAreaFormatMime = "application/x-brightline-area-format";

// The library list: hands out the dragged entry's tab and index.
class CProgram_Property_ListView : public QListWidget {
    Q_OBJECT
  public:
    explicit CProgram_Property_ListView(QWidget* parent = nullptr);
    int tab = 0;

  protected:
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
};

class CPropertyView : public QWidget {
    Q_OBJECT
  public:
    explicit CPropertyView(int firstTab, QWidget* parent = nullptr);
    int currentTab() const;
    void setCurrentTab(int tab);
    CProgram_Property_ListView* list() const { return list_; }
    QTabBar* tabs() const { return tabs_; }

  signals:
    void tabChanged(int tab);

  private:
    void fill(int tab);
    QTabBar* tabs_;
    CProgram_Property_ListView* list_;
};

// The area format carried by a drag, or -1.
int areaFormatOfDrag(const QMimeData* mime);

}  // namespace brightline::ui
