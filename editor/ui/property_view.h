#pragma once
// The property view: a tab control over one large-icon list, where the operator picks what goes
// into the program. "Area Format" lists the eleven formats, "Move In" the 45 entry effects and
// "Move Out" the 46 exit effects (pictures drawn by the show engine), "Picture", "AVI", "ZRT"
// and "Time" the four resource libraries with 96 x 72 thumbnails, which are made off the user
// interface thread and fill in as they arrive. Entries are dragged onto the layout view, the
// item view or the timeline with a MIME type of our own (kPropertyEntryMime); a library entry
// whose file cannot be opened is not listed, and one that went missing since does not drag.
//
// Add Resource (several files, the tab's filter), Del Resource and the Delete key change the
// tab's library file in the start folder; a double click on a picture, text page or clock page
// asks for it to be opened in its editor. The current tab is the application-wide value
// "FIRST_SEL_RC", handed in and reported back. The view's background is "RC_BACK.jpg" from the
// start folder, at the bottom right. User interface thread only.
#include <QImage>
#include <QListWidget>
#include <QWidget>
#include <optional>
#include <string>

#include "common/operator_messages.h"
#include "editor/resource_libraries.h"

class QFileDialog;
class QTabBar;

namespace brightline::ui {

class ThumbnailService;

inline constexpr const char* kPropertyEntryMime = "application/x-brightline-property-entry";
inline constexpr const char* kBackdropFile = "RC_BACK.jpg";

// What a drag from the property view carries: the tab, the entry's position in the list (the
// area format, the Move In or Move Out index, or the library entry) and a library entry's path.
struct PropertyEntry {
    int tab = -1;
    int entry = -1;
    std::string path;
};
std::optional<PropertyEntry> propertyEntryOfDrag(const QMimeData* mime);
// The area format carried by a drag, or -1.
int areaFormatOfDrag(const QMimeData* mime);

// The list: large icons, one entry per format, effect or shown library path.
class CProgram_Property_ListView : public QListWidget {
    Q_OBJECT
  public:
    explicit CProgram_Property_ListView(QWidget* parent = nullptr);
    int tab = 0;
    // Library tabs: the path each entry acts on.
    std::vector<std::string> paths;
    void setBackdrop(const QImage& image);
    // The MIME data a drag of `entry` carries.
    QMimeData* entryMime(int entry) const;

  signals:
    void deleteRequested();
    // A drag began on an entry whose file went missing.
    void missingEntryDragged(const QString& path);

  protected:
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    void startDrag(Qt::DropActions supportedActions) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage backdrop_;
};

class CPropertyView : public QWidget {
    Q_OBJECT
  public:
    // `thumbnails` and `messages` are borrowed and outlive the view.
    CPropertyView(int firstTab, ThumbnailService& thumbnails, OperatorMessages& messages,
                  QWidget* parent = nullptr);
    int currentTab() const;
    void setCurrentTab(int tab);
    // Fills the current tab's list again (after a library changed).
    void refill();
    CProgram_Property_ListView* list() const { return list_; }
    QTabBar* tabs() const { return tabs_; }

    // "Add Resource ": the file dialog (several files, the tab's filter); its OK adds them.
    // On the other tabs the operator is told where resources are added.
    void addResource();
    // What the dialog's OK does: the files are checked and added in order (see addResources()
    // in editor/resource_libraries.h), then the list is filled again.
    void addResources(const QStringList& files);
    // "Del Resource " and the Delete key: the selected entries leave the library.
    void deleteResources();
    // The library file of the current tab in the start folder; empty on tabs 0 to 2.
    std::string libraryFile() const;

  signals:
    void tabChanged(int tab);
    void openMediumRequested(const QString& path);

  private:
    void fill(int tab);
    void thumbnailReady(const QString& path, QSize size);

    ThumbnailService& thumbnails_;
    OperatorMessages& messages_;
    QTabBar* tabs_;
    CProgram_Property_ListView* list_;
};

}  // namespace brightline::ui
