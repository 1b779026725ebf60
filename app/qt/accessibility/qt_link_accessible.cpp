#include "qt_link_accessible.h"

#include "click_label.h"

LinkAccessible::LinkAccessible(ClickLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

QAccessible::State LinkAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.linked = true;
    return state;
}

QStringList LinkAccessible::actionNames() const {
    return {pressAction()};
}

void LinkAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction() && widget()->isEnabled()) {
        static_cast<ClickLabel*>(widget())->click();
    }
}
