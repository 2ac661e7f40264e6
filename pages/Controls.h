#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRect>

// Small makers of the window's fixed-place controls. Object names are the
// controls' names, for tests and accessibility.
namespace pages {

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

inline QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top) {
    auto* label = Named(new QLabel(parent), name);
    label->move(left, top);
    return label;
}

inline QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QRect& place,
                               const char* hint, bool checked) {
    auto* box = Named(new QCheckBox(parent), name);
    box->setGeometry(place);
    box->setToolTip(QString::fromUtf8(hint));
    box->setCursor(Qt::PointingHandCursor);
    box->setChecked(checked);
    return box;
}

inline QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& place) {
    auto* button = Named(new QPushButton(parent), name);
    button->setGeometry(place);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace pages
