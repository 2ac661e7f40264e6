#include "pages/InstructionsPage.h"

#include "pages/FittedText.h"
#include "tactic/Cm_codes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QItemSelection>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace pages {

namespace {

constexpr int ColumnCount = 15; // grid columns, the fixed one included
constexpr int RowCount = 12;    // grid rows, the fixed one included
constexpr int FixedColumnWidth = 23;
constexpr int ColumnWidth = 50;
constexpr int RowHeight = 16;

static_assert(std::size(cm_codes::PlayerInstrNames) == ColumnCount - 1);

struct TLabelSpec {
    const char* Name;
    int Left;
    int Top;
};

// The team instructions' names (the codec's, English in either language),
// in the order of TeamInstr.
constexpr TLabelSpec CaptionSpecs[] = {
    {"LabelTi1", 96, 24},  {"LabelTi2", 96, 51},  {"LabelTi3", 96, 77}, {"LabelTi4", 96, 104},
    {"LabelTi5", 272, 24}, {"LabelTi6", 272, 56}, {"LabelTi7", 272, 88}};
static_assert(std::size(cm_codes::TeamInstrNames) == std::size(CaptionSpecs));

// Places of Ti1..Ti7, the choices of TeamInstr[0..6]: each centred on its
// caption's line and as wide as the room up to the next column of captions
// or the panel's edge.
constexpr QRect ValuePlaces[TCmTactic::TeamInstrCount] = {
    {176, 21, 90, 22}, {176, 48, 90, 22}, {176, 74, 90, 22}, {176, 101, 90, 22},
    {376, 21, 68, 22}, {376, 53, 68, 22}, {376, 85, 68, 22}};

QLabel* MakeLabel(QWidget* parent, const char* name, QPoint place, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(place);
    label->adjustSize();
    return label;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QRect& place) {
    auto* box = new TFittedCheckBox(QString(), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(place);
    box->setCursor(Qt::PointingHandCursor);
    return box;
}

QComboBox* MakeCombo(QWidget* parent, const QString& name, const QRect& place) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setGeometry(place);
    // Editable so that its text can show what the field shows (a blanked or
    // unknown value too); read-only so that only a pick from the list changes it.
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->lineEdit()->setReadOnly(true);
    combo->setCursor(Qt::PointingHandCursor);
    combo->lineEdit()->setCursor(Qt::PointingHandCursor);
    // The wheel passing over it neither takes the keyboard nor picks a value.
    combo->setFocusPolicy(Qt::StrongFocus);
    return combo;
}

void ShowValue(QComboBox* combo, const QString& text) {
    const QSignalBlocker quiet(combo);
    // The list entry is the one the text names, none for a blank or unknown
    // text, which is shown all the same.
    combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    combo->setEditText(text);
}

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Typing a letter selects nothing here: a jump to the next cell starting with
// it would only move what the combo edits.
class TPlayersGrid : public QTableWidget {
public:
    using QTableWidget::QTableWidget;
    void keyboardSearch(const QString&) override {}
};

QTableWidget* MakeGrid(QWidget* parent) {
    // The fixed row and column are the grid's headers, so they stay in place
    // while the instruction columns scroll.
    auto* grid = new TPlayersGrid(RowCount - 1, ColumnCount - 1, parent);
    grid->setObjectName(QStringLiteral("PlayersGrid"));
    grid->setGeometry(2, 184, 445, 225);
    QPalette palette = grid->palette();
    palette.setColor(QPalette::Base, Qt::white);
    grid->setPalette(palette);
    grid->setShowGrid(false);
    // Several cells of one column take one value: Shift and Ctrl select as in any list.
    grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setCornerButtonEnabled(false);
    grid->setWordWrap(false);
    // Arrows move inside the grid; Tab leaves it for the combo.
    grid->setTabKeyNavigation(false);

    QHeaderView* top = grid->horizontalHeader();
    top->setMinimumSectionSize(0);
    top->setDefaultSectionSize(ColumnWidth);
    top->setSectionResizeMode(QHeaderView::Fixed);
    top->setSectionsClickable(false);
    top->setHighlightSections(false);
    top->setFixedHeight(RowHeight);
    QHeaderView* left = grid->verticalHeader();
    left->setMinimumSectionSize(0);
    left->setDefaultSectionSize(RowHeight);
    left->setSectionResizeMode(QHeaderView::Fixed);
    left->setSectionsClickable(false);
    left->setHighlightSections(false);
    left->setFixedWidth(FixedColumnWidth);
    left->setDefaultAlignment(Qt::AlignCenter);

    // Fixed cells start empty, like the player cells.
    for (int c = 1; c < ColumnCount; ++c)
        grid->setHorizontalHeaderItem(c - 1, new QTableWidgetItem());
    for (int r = 1; r < RowCount; ++r) {
        grid->setVerticalHeaderItem(r - 1, new QTableWidgetItem());
        for (int c = 1; c < ColumnCount; ++c) {
            auto* item = new QTableWidgetItem();
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grid->setItem(r - 1, c - 1, item);
        }
    }
    return grid;
}

} // namespace

std::string ShownText(const std::string& text, bool hideNo, bool hideTeam) {
    if (hideNo && text == "No")
        return {};
    if (hideTeam && text == "Team")
        return {};
    return text;
}

TInstructionsPage::TInstructionsPage(QWidget* parent)
    : QWidget(parent) {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("GeneralPanel"));
    // Lowered outer and raised inner bevel: an etched two-pixel border.
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    panel->setLineWidth(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel);

    TeamCaption = MakeLabel(panel, "LabelTT", {8, 8}, QString());
    for (std::size_t i = 0; i < std::size(CaptionSpecs); ++i) {
        const std::string_view name = cm_codes::TeamInstrNames[i];
        MakeLabel(panel, CaptionSpecs[i].Name, {CaptionSpecs[i].Left, CaptionSpecs[i].Top},
                  QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    PlayersCaption = MakeLabel(panel, "LabelPT", {8, 138}, QString());
    for (int i = 0; i < TCmTactic::TeamInstrCount; ++i) {
        Values[i] = MakeCombo(panel, QStringLiteral("Ti%1").arg(i + 1), ValuePlaces[i]);
        for (std::string_view value : cm_codes::TeamInstrValues(i))
            Values[i]->addItem(FromView(value));
        Values[i]->installEventFilter(this);
        // The caption names the list for screen readers.
        panel->findChild<QLabel*>(QLatin1String(CaptionSpecs[i].Name))->setBuddy(Values[i]);
        connect(Values[i], &QComboBox::activated, this, [this, i] { emit teamValuePicked(i); });
    }

    HideNoBox = MakeCheckBox(panel, "HideNo", {9, 158, 137, 17});
    HideTeamBox = MakeCheckBox(panel, "HideTeam", {153, 158, 112, 17});
    Retranslate();
    Combo = MakeCombo(panel, QStringLiteral("ComboValue"), {280, 154, 145, 25});
    Combo->setToolTip(QStringLiteral("Select new value for selected item"));
    Combo->hide();
    Grid = MakeGrid(panel);

    // The grid's first cell is current from the start, as if selected without
    // an event; the first selection is then that of the user.
    {
        const QSignalBlocker quiet(Grid);
        Grid->setCurrentCell(0, 0);
    }
    connect(Grid, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
        KeepCurrentColumn(false);
        // A move that selected nothing (Ctrl and an arrow) marks the cell
        // once the event is done with the selection.
        QMetaObject::invokeMethod(
            this, [this] { KeepCurrentColumn(true); }, Qt::QueuedConnection);
        if (row >= 0 && column >= 0)
            emit cellSelecting(column + 1, row + 1);
    });
    // A press on the cell that is already current moves nothing, yet it is a
    // selection of that cell all the same.
    Grid->viewport()->installEventFilter(this);
    connect(Grid, &QTableWidget::cellPressed, this, [this](int row, int column) {
        if (row == PressedOnRow && column == PressedOnColumn)
            emit cellSelecting(column + 1, row + 1);
    });
    connect(Grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { KeepCurrentColumn(true); });
    connect(Combo, &QComboBox::activated, this, [this] { emit valuePicked(); });
    Combo->installEventFilter(this);
    QWidget::setTabOrder(Grid, Combo);

    resize(449, 411);
}

void TInstructionsPage::Retranslate() {
    for (QComboBox* value : Values)
        value->setToolTip(tr("Select new value for this team instruction"));
    TeamCaption->setText(tr("Team instructions"));
    TeamCaption->adjustSize();
    PlayersCaption->setText(tr("Players instructions"));
    PlayersCaption->adjustSize();
    HideNoBox->setText(tr("Hide \"No\""));
    HideTeamBox->setText(tr("Hide \"Team\""));
}

void TInstructionsPage::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QWidget::changeEvent(event);
}

bool TInstructionsPage::eventFilter(QObject* watched, QEvent* event) {
    // Qt's combo picks the next value on a wheel turn over it; only the
    // keyboard's owner may change an instruction that way.
    const bool list = watched == Combo ||
                      std::find(std::begin(Values), std::end(Values), watched) != std::end(Values);
    if (list && event->type() == QEvent::Wheel && !static_cast<QWidget*>(watched)->hasFocus()) {
        event->ignore();
        return true;
    }
    // Its own list popping up keeps the run of picks going.
    if (list && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        emit pickRunEnded();
    // The team lists are watched from before the grid is made.
    if (Grid && watched == Grid->viewport() && event->type() == QEvent::MouseButtonPress) {
        PressedOnRow = Grid->currentRow();
        PressedOnColumn = Grid->currentColumn();
    }
    return QWidget::eventFilter(watched, event);
}

void TInstructionsPage::WriteHeaders() {
    QStringList headers;
    for (int c = 1; c < ColumnCount; ++c) {
        headers << QString::fromUtf8(cm_codes::PlayerInstrNames[c - 1]);
        Grid->horizontalHeaderItem(c - 1)->setText(headers.last());
    }
    // The headers take a font in which the longest of them fits between the
    // section's margins; a header that does not fit even at the smallest
    // readable size widens its column.
    QHeaderView* top = Grid->horizontalHeader();
    const int margin = top->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, top);
    const QFont font = FittingFont(top->font(), headers, {ColumnWidth - 2 * margin, RowHeight});
    top->setFont(font);
    for (int c = 1; c < ColumnCount; ++c)
        top->resizeSection(
            c - 1, std::max(ColumnWidth,
                            QFontMetrics(font).horizontalAdvance(headers[c - 1]) + 2 * margin));
}

void TInstructionsPage::UpdatePlayersInstructions() {
    const bool hideNo = HideNoBox->isChecked();
    const bool hideTeam = HideTeamBox->isChecked();
    if (Tactic) {
        // Setting texts neither moves the current cell nor selects one.
        const QSignalBlocker quiet(Grid);
        for (int i = 0; i < TCmTactic::PlayerCount; ++i) {
            const TCmPlayer& player = Tactic->Players[i];
            Grid->verticalHeaderItem(i)->setText(QString::fromStdString(player.NumberText));
            for (int c = 1; c < ColumnCount; ++c)
                Grid->item(i, c - 1)->setText(
                    QString::fromStdString(ShownText(player.Instr[c], hideNo, hideTeam)));
        }
    }
    Combo->setVisible(!hideNo && !hideTeam);
}

void TInstructionsPage::ShowTeamInstructions() {
    if (!Tactic)
        return;
    for (int i = 0; i < TCmTactic::TeamInstrCount; ++i)
        ShowValue(Values[i], QString::fromStdString(Tactic->TeamInstr[i]));
}

std::string TInstructionsPage::TeamPick(int index) const {
    return Values[index]->currentText().toStdString();
}

void TInstructionsPage::KeepCurrentColumn(bool mark) {
    // A selection reaching into other columns keeps only the current one's
    // cells. The cell the combo edits is always marked: a click beside the
    // cells or a Ctrl+click on the only marked cell takes the mark away, and
    // it comes back at once; a Ctrl+click taking back the current one of
    // several makes the nearest marked cell current.
    const QModelIndex current = Grid->currentIndex();
    if (!current.isValid())
        return;
    QItemSelectionModel* model = Grid->selectionModel();
    QItemSelection outside;
    QModelIndex nearest;
    for (const QModelIndex& index : model->selectedIndexes()) {
        if (index.column() != current.column())
            outside.select(index, index);
        else if (!nearest.isValid() ||
                 std::abs(index.row() - current.row()) < std::abs(nearest.row() - current.row()))
            nearest = index;
    }
    if (!outside.isEmpty())
        model->select(outside, QItemSelectionModel::Deselect);
    if (!mark || model->isSelected(current))
        return;
    if (nearest.isValid())
        model->setCurrentIndex(nearest, QItemSelectionModel::NoUpdate);
    else
        model->select(current, QItemSelectionModel::Select);
}

QList<int> TInstructionsPage::SelectedPlayers() const {
    QList<int> players;
    const int column = Grid->currentColumn();
    for (int row = 0; row < Grid->rowCount(); ++row)
        if (Grid->selectionModel()->isSelected(Grid->model()->index(row, column)))
            players << row;
    return players;
}

void TInstructionsPage::SelectCells(int column, const QList<int>& players) {
    if (players.isEmpty())
        return;
    const bool keep = CurrentColumn() == column && players.contains(CurrentRow() - 1);
    const int row = keep ? CurrentRow() : players.front() + 1;
    GoToCell(column, row);
    QItemSelection cells;
    for (int player : players) {
        const QModelIndex index = Grid->model()->index(player, column - 1);
        cells.select(index, index);
    }
    Grid->selectionModel()->select(cells, QItemSelectionModel::Select);
}

void TInstructionsPage::SelectCell(int column, int row) {
    {
        const QSignalBlocker quiet(Combo);
        Combo->clear();
        for (std::string_view value : cm_codes::PlayerInstrValues(column))
            Combo->addItem(FromView(value));
    }
    // The text is the cell's as shown.
    ShowValue(Combo, CellText(column, row));
}

void TInstructionsPage::GoToCell(int column, int row) {
    {
        const QSignalBlocker quiet(Grid);
        Grid->setCurrentCell(row - 1, column - 1);
    }
    SelectCell(column, row);
}

std::optional<TInstructionsPage::TPick> TInstructionsPage::Pick() const {
    if (Combo->currentIndex() < 0 || !Tactic)
        return std::nullopt;
    const int column = CurrentColumn();
    const int row = CurrentRow();
    if (column < 1 || column >= ColumnCount || row < 1 || row >= RowCount)
        return std::nullopt;
    return TPick{row - 1, column, Combo->currentText().toStdString()};
}

QString TInstructionsPage::CellText(int column, int row) const {
    if (column < 0 || column >= ColumnCount || row < 0 || row >= RowCount)
        return {};
    if (row == 0)
        return column == 0 ? QString() : Grid->horizontalHeaderItem(column - 1)->text();
    if (column == 0)
        return Grid->verticalHeaderItem(row - 1)->text();
    return Grid->item(row - 1, column - 1)->text();
}

int TInstructionsPage::CurrentColumn() const {
    return Grid->currentColumn() + 1;
}

int TInstructionsPage::CurrentRow() const {
    return Grid->currentRow() + 1;
}

} // namespace pages
