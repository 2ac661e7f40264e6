#include "pages/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace {

// Items stacked under the title, spread over the group's height.
constexpr int ItemLeft = 8;
constexpr int FirstItemTop = 18;
constexpr int ItemPitch = 22;
constexpr int ItemHeight = 17;

} // namespace

TRadioGroup::TRadioGroup(const QStringList& items, QWidget* parent)
    : QGroupBox(parent)
    , Buttons(new QButtonGroup(this)) {
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setObjectName(QStringLiteral("Item%1").arg(i));
        Buttons->addButton(button, i);
    }
    SetItemIndex(0);
    connect(Buttons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit selectionChanged(id);
    });
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    const auto buttons = Buttons->buttons();
    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->setGeometry(ItemLeft, FirstItemTop + i * ItemPitch, width() - 2 * ItemLeft,
                                ItemHeight);
}

int TRadioGroup::ItemIndex() const {
    return Buttons->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* button = Buttons->button(index))
        button->setChecked(true);
}

QString TRadioGroup::ItemText(int index) const {
    const QAbstractButton* button = Buttons->button(index);
    return button ? button->text() : QString();
}

void TRadioGroup::SetItemText(int index, const QString& text) {
    if (QAbstractButton* button = Buttons->button(index))
        button->setText(text);
}

QRadioButton* TRadioGroup::Item(int index) const {
    return qobject_cast<QRadioButton*>(Buttons->button(index));
}
