#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <stdexcept>
#include <type_traits>
#include <variant>

#include "click_label.h"
#include "qt_folder_edit.h"
#include "qt_message_edit.h"
#include "window_layout.h"

// The window's controls as Qt widgets: one for each row of the layout table, made by the row's
// kind (the folder box and the links by their role too), named, placed and filled as the row says
// (the picture with the banner artwork), and kept with the table's number. Each widget is held
// with its own type, so that asking for a control as a type it is not fails at once instead of
// reading the wrong object.
class ControlWidgets {
  public:
    // Makes every control a child of `window`, in the table's order, which is the drawing order.
    explicit ControlWidgets(QWidget& window);
    ControlWidgets(const ControlWidgets&) = delete;
    ControlWidgets& operator=(const ControlWidgets&) = delete;

    // The widget of `control` as a `Widget`; throws std::logic_error where it is none.
    template <class Widget>
    Widget& As(const quillbeam::layout::Control& control) {
        return const_cast<Widget&>(std::as_const(*this).As<Widget>(control));
    }
    template <class Widget>
    const Widget& As(const quillbeam::layout::Control& control) const {
        const Widget* widget = std::visit(
            [](const auto& held) -> const Widget* {
                if constexpr (std::is_base_of_v<Widget, std::decay_t<decltype(held)>>) {
                    return &held;
                } else {
                    return nullptr;
                }
            },
            widgets_.at(quillbeam::layout::IndexOf(control)));
        if (widget == nullptr) throw std::logic_error("the control is no such widget");
        return *widget;
    }
    QWidget& operator[](const quillbeam::layout::Control& control) { return As<QWidget>(control); }
    QWidget& operator[](quillbeam::layout::Role role) {
        return (*this)[quillbeam::layout::Find(role)];
    }
    const QWidget& operator[](quillbeam::layout::Role role) const {
        return As<QWidget>(quillbeam::layout::Find(role));
    }

    // What `control` shows: a caption's or a button's text, a box's with CR LF line breaks; a
    // picture has none.
    QString Text(const quillbeam::layout::Control& control) const;
    // Puts `text` into the box or caption `control`, as typing or the program would.
    void SetText(const quillbeam::layout::Control& control, const QString& text);

  private:
    using Slot = std::variant<std::monostate, ClickLabel, QLabel, FolderEdit, QLineEdit,
                              MessageEdit, QPushButton>;
    std::array<Slot, quillbeam::layout::kControls.size()> widgets_;
};
