#pragma once

#include <QGroupBox>

class QButtonGroup;
class QRadioButton;

// A titled group of radio buttons, one of them selected, that reports only a
// change of selection: clicking the item already selected reports nothing,
// and replacing an item's text is no selection at all.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QStringList& items, QWidget* parent = nullptr);

    int ItemIndex() const;
    void SetItemIndex(int index);
    QString ItemText(int index) const;
    void SetItemText(int index, const QString& text);
    QRadioButton* Item(int index) const;

signals:
    void selectionChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QButtonGroup* Buttons;
};
