#pragma once

#include <QTabWidget>

// The window's pages in the order of their tabs.
enum class TPage { General, Compare, Anti, Options };

// The tabbed pages left of the pitch. A page's tab is shown once there is
// something for it to show; a hidden page is also out of reach of the
// keyboard and the wheel.
class TPageControl : public QTabWidget {
    Q_OBJECT
public:
    // Takes the four pages, in the order of TPage.
    TPageControl(QWidget* general, QWidget* compare, QWidget* anti, QWidget* options,
                 const QFont& tabFont, QWidget* parent = nullptr);

    TPage Current() const { return static_cast<TPage>(currentIndex()); }
    void Show(TPage page) { setCurrentIndex(static_cast<int>(page)); }
    // Showing or hiding a tab is the program's doing: no page change is reported.
    void SetTabShown(TPage page, bool shown);

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();
};
