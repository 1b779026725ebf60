#include "accessible_interfaces.h"

#include <QLineEdit>
#include <memory>

#include "click_label.h"
#include "line_edit_accessible.h"
#include "qt_link_accessible.h"

namespace {

// The program's window is a plain widget, which Qt would present as a filler, not a frame.
class WindowAccessible : public QAccessibleWidget {
  public:
    explicit WindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}
};

// Asked for each class of an object from the most derived one up, before Qt's own factory.
// Qt's cache takes ownership of what is returned.
QAccessibleInterface* CreateInterface(const QString& className, QObject* object) {
    if (className == u"QLineEdit") {
        auto* edit = static_cast<QLineEdit*>(object);
        // A spin box answers for its own text box, as with Qt's interfaces.
        if (edit->objectName() == u"qt_spinbox_lineedit") return nullptr;
        return std::make_unique<LineEditAccessible>(edit).release();
    }
    if (className == u"ClickLabel") {
        return std::make_unique<LinkAccessible>(static_cast<ClickLabel*>(object)).release();
    }
    if (className == u"Quillbeam") {
        return std::make_unique<WindowAccessible>(static_cast<QWidget*>(object)).release();
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleInterfaces() {
    QAccessible::installFactory(CreateInterface);
}
