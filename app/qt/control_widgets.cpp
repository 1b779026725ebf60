#include "control_widgets.h"

#include "artwork.h"
#include "message_box.h"

namespace layout = quillbeam::layout;

ControlWidgets::ControlWidgets(QWidget& window) {
    for (const layout::Control& control : layout::kControls) {
        Slot& slot = widgets_.at(layout::IndexOf(control));
        // A picture or caption that is a link reacts to clicks; the folder box takes drops.
        switch (control.kind) {
            case layout::Kind::Picture:
            case layout::Kind::Label:
                control.isLink() ? slot.emplace<ClickLabel>(&window)
                                 : slot.emplace<QLabel>(&window);
                break;
            case layout::Kind::LineBox:
                control.role == layout::Role::Folder ? slot.emplace<FolderEdit>(&window)
                                                     : slot.emplace<QLineEdit>(&window);
                break;
            case layout::Kind::MultiLineBox:
                slot.emplace<MessageEdit>(&window);
                break;
            case layout::Kind::Button:
                slot.emplace<QPushButton>(&window);
                break;
        }
        QWidget& widget = (*this)[control];
        widget.setObjectName(ToQString(control.name));
        widget.setGeometry(control.rect.left, control.rect.top, control.rect.width,
                           control.rect.height);
        if (control.kind == layout::Kind::Picture) {
            // The artwork is 4 pixels wider than the window; it is cut off, never scaled.
            As<QLabel>(control).setAlignment(Qt::AlignLeft | Qt::AlignTop);
            As<QLabel>(control).setPixmap(BannerArtwork());
        } else {
            SetText(control, ToQString(control.firstText));
        }
    }
}

QString ControlWidgets::Text(const layout::Control& control) const {
    return std::visit(
        [](const auto& widget) -> QString {
            using Held = std::decay_t<decltype(widget)>;
            if constexpr (std::is_same_v<Held, MessageEdit>) {
                return widget.crlfText();
            } else if constexpr (std::is_same_v<Held, std::monostate>) {
                return {};
            } else {
                return widget.text();
            }
        },
        widgets_.at(layout::IndexOf(control)));
}

void ControlWidgets::SetText(const layout::Control& control, const QString& text) {
    std::visit(
        [&text](auto& widget) {
            using Held = std::decay_t<decltype(widget)>;
            if constexpr (std::is_same_v<Held, MessageEdit>) {
                widget.setCrlfText(text);
            } else if constexpr (!std::is_same_v<Held, std::monostate>) {
                widget.setText(text);
            }
        },
        widgets_.at(layout::IndexOf(control)));
}
