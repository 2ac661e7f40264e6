// What the user sees of the window at its specified sizes, in both languages:
// no text or box cut off at the edge of its control, and the tab under the
// mouse marked.
#include "FormHarness.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>

#include <map>

using namespace guitest;

namespace {

// Where a control's pixels show in the window: its rectangle, inside every
// parent's, less what the controls above it cover.
QRegion Shown(const QWidget& control, const QWidget& window) {
    const auto place = [&](const QWidget& w) {
        return QRect(w.mapTo(&window, QPoint(0, 0)), w.size());
    };
    QRegion region(place(control));
    for (const QWidget* w = &control; w != &window; w = w->parentWidget()) {
        const QWidget& parent = *w->parentWidget();
        region &= place(parent);
        const QObjectList& siblings = parent.children();
        for (qsizetype i = siblings.indexOf(const_cast<QWidget*>(w)) + 1; i < siblings.size(); ++i)
            if (const auto* above = qobject_cast<const QWidget*>(siblings[i]);
                above && above->isVisible() && !above->isWindow())
                region -= place(*above);
    }
    return region;
}

int Difference(QColor a, QColor b) {
    return std::max(
        {qAbs(a.red() - b.red()), qAbs(a.green() - b.green()), qAbs(a.blue() - b.blue())});
}

// The most common colour of the given points: the background they lie on.
QRgb Background(const QImage& shot, const QList<QPoint>& points) {
    std::map<QRgb, int> counts;
    for (QPoint p : points)
        ++counts[shot.pixel(p)];
    QRgb background = 0;
    int most = 0;
    for (auto [colour, count] : counts)
        if (count > most)
            std::tie(background, most) = std::pair{colour, count};
    return background;
}

// Points on the edge of a control's shown region that something is drawn on:
// a glyph or a box that goes on beyond the edge. Where the region ends at
// the control's own left edge, where a box or a label's first letter may
// start, or anywhere around a label, which sizes itself to its text, only
// an edge made by another control counts. Faint anti-aliasing does not count.
QList<QPoint> DrawnOnTheEdge(const QImage& shot, const QWidget& control, const QWidget& window) {
    const QRegion region = Shown(control, window);
    const QRect own(control.mapTo(&window, QPoint(0, 0)), control.size());
    const bool ownEdgesToo = !qobject_cast<const QLabel*>(&control);
    QList<QPoint> edge;
    QList<QPoint> counted;
    const auto look = [&](QPoint p, QPoint outward) {
        const QPoint beyond = p + outward;
        if (region.contains(beyond))
            return;
        edge << p;
        if (own.contains(beyond) || (ownEdgesToo && outward.x() >= 0))
            counted << p;
    };
    for (const QRect& rect : region) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            look({x, rect.top()}, {0, -1});
            look({x, rect.bottom()}, {0, 1});
        }
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            look({rect.left(), y}, {-1, 0});
            look({rect.right(), y}, {1, 0});
        }
    }
    const QColor background(Background(shot, edge));
    QList<QPoint> drawn;
    for (QPoint p : counted)
        if (Difference(shot.pixelColor(p), background) > 48)
            drawn << p;
    return drawn;
}

// The hint that shows when the mouse rests on the control, empty for none.
QString HintOf(const QWidget& control) {
    // A hint fades out: wait until the last one has gone.
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000))
        qWarning("a hint stays");
    QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), control.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(const_cast<QWidget*>(&control), &event);
    const QString shown = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    return shown;
}

QString NameOf(const QWidget& w) {
    return w.objectName().isEmpty()
               ? w.parentWidget()->objectName() + "/" + w.metaObject()->className()
               : w.objectName();
}

} // namespace

class TestLook : public QObject, private TFormFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { StopWindow(); }

    void everyTextAndBoxIsWhole_data();
    void everyTextAndBoxIsWhole();
    void tabUnderTheMouseIsMarked_data();
    void tabUnderTheMouseIsMarked();

private:
    void Language(bool russian) {
        Click(Find<QPushButton>(*Form, russian ? "BtnRussian" : "BtnEnglish"));
    }
    QString MainName, SecondName;
};

void TestLook::init() {
    StartWindow();
    // Names longer than the room beside their ".." buttons.
    MainName = QStringLiteral("4-4-2 diamond with wing backs");
    SecondName = QStringLiteral("Opponents 3-5-2 with a sweeper");
    Load(*Form, Dialogs, 1, Game->WriteTactic(MainName + ".tct", SampleTactic(1)));
    Load(*Form, Dialogs, 2, Game->WriteTactic(SecondName + ".tct", SampleTactic(2)));
    QVERIFY(Dialogs.messages().isEmpty());
    Click(Find<QAbstractButton>(*Form, "HideLogo"));
}

void TestLook::everyTextAndBoxIsWhole_data() {
    QTest::addColumn<bool>("russian");
    QTest::newRow("English") << false;
    QTest::newRow("Russian") << true;
}

void TestLook::everyTextAndBoxIsWhole() {
    QFETCH(bool, russian);
    Language(russian);
    QStringList cut;
    QList<const QLabel*> shortened;
    auto* pages = Find<QTabWidget>(*Form, "PageControl");
    for (int page = 0; page < pages->count(); ++page) {
        ChoosePage(*Form, page);
        const QImage shot = Form->grab().toImage();
        for (QWidget* control : Form->findChildren<QWidget*>()) {
            if (!control->isVisible() || control->window() != Form.get())
                continue;
            const auto* label = qobject_cast<QLabel*>(control);
            if ((label && !label->text().isEmpty()) || qobject_cast<QCheckBox*>(control) ||
                qobject_cast<QRadioButton*>(control)) {
                for (QPoint p : DrawnOnTheEdge(shot, *control, *Form))
                    cut << QStringLiteral("%1 at %2, %3")
                               .arg(NameOf(*control))
                               .arg(p.x())
                               .arg(p.y());
                if (label && label->fontMetrics().horizontalAdvance(label->text()) >
                                 label->contentsRect().width())
                    shortened << label;
            } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
                QStyleOptionGroupBox option;
                option.initFrom(box);
                option.text = box->title();
                option.subControls = QStyle::SC_GroupBoxLabel;
                const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                                 QStyle::SC_GroupBoxLabel, box);
                if (!box->rect().contains(title))
                    cut << NameOf(*box) + " title";
            } else if (auto* button = qobject_cast<QPushButton*>(control);
                       button && !button->text().isEmpty()) {
                const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
                const int margin = 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin);
                if (button->fontMetrics().horizontalAdvance(button->text()) + icon + margin >
                    button->width())
                    cut << NameOf(*button);
            }
        }
    }
    // A label sizes itself to its text, or shows the whole text as its hint.
    for (const QLabel* label : shortened)
        if (HintOf(*label) != label->text())
            cut << NameOf(*label) + " without its whole text as a hint";
    // The grid's headers and cells at their 50 pixels.
    auto* grid = Find<QTableWidget>(*Form, "PlayersGrid");
    QHeaderView* top = grid->horizontalHeader();
    const int headerRoom =
        top->sectionSize(0) - 2 * top->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, top);
    const int cellRoom =
        grid->columnWidth(0) -
        2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
    for (int c = 0; c < grid->columnCount(); ++c) {
        const QString header = grid->horizontalHeaderItem(c)->text();
        if (QFontMetrics(top->font()).horizontalAdvance(header) > headerRoom)
            cut << "header " + header;
        for (int r = 0; r < grid->rowCount(); ++r) {
            const QString text = grid->item(r, c)->text();
            if (QFontMetrics(grid->font()).horizontalAdvance(text) > cellRoom)
                cut << "cell " + text;
        }
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.mid(0, 12).join(QStringLiteral("; "))));

    // The long names are the labels' texts still, cut short on the screen only.
    QCOMPARE(Find<QLabel>(*Form, "LabelTN1")->text(), MainName.toUpper());
    QCOMPARE(Find<QLabel>(*Form, "LabelTN2")->text(), SecondName.toUpper());
    QCOMPARE(HintOf(*Find<QLabel>(*Form, "LabelTN1")), MainName.toUpper());
}

void TestLook::tabUnderTheMouseIsMarked_data() {
    QTest::addColumn<bool>("russian");
    QTest::addColumn<int>("tab");
    QTest::newRow("English, the page shown") << false << 3;
    QTest::newRow("English, another page") << false << 1;
    QTest::newRow("Russian, another page") << true << 0;
}

void TestLook::tabUnderTheMouseIsMarked() {
    QFETCH(bool, russian);
    QFETCH(int, tab);
    Language(russian);
    QTabBar* tabs = Find<QTabWidget>(*Form, "PageControl")->tabBar();
    const QRect place = tabs->tabRect(tab);
    const QPoint away = Form->mapFromGlobal(tabs->mapToGlobal(QPoint(0, 0))) + QPoint(0, 200);
    QTest::mouseMove(Form.get(), away);
    const QImage plain = tabs->grab().toImage();
    QTest::mouseMove(tabs, place.center());
    QTRY_VERIFY(tabs->grab().toImage().copy(place) != plain.copy(place));
    // Only that tab changes, and it is plain again once the mouse has left.
    const QImage marked = tabs->grab().toImage();
    for (int i = 0; i < tabs->count(); ++i)
        if (i != tab && tabs->isTabVisible(i))
            QCOMPARE(marked.copy(tabs->tabRect(i)), plain.copy(tabs->tabRect(i)));
    QTest::mouseMove(Form.get(), away);
    QTRY_COMPARE(tabs->grab().toImage(), plain);
}

QTEST_MAIN(TestLook)
#include "test_look.moc"
