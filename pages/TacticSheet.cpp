#include "pages/TacticSheet.h"

#include "pages/TacticScore.h"
#include "pitch/Fonts.h"
#include "pitch/PitchMap.h"
#include "pitch/PitchRenderer.h"
#include "tactic/Cm_codes.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace pages {
namespace {

// The page in its own units: A4 at 150 dots per inch, which is also the
// PNG's pixels; the PDF scales it to the writer's resolution.
constexpr int PageWidth = 1240;
constexpr int PageHeight = 1754;
constexpr int DotsPerInch = 150;
constexpr int PdfDotsPerInch = 300;
constexpr double InchesPerMetre = 39.37;
constexpr int Margin = 60;
constexpr int Usable = PageWidth - 2 * Margin;

// The small pitches: two blocks (with and without the ball) of 3 x 4, laid
// out as the zones lie on the pitch, the tactic's own goal at the bottom.
constexpr double PitchScale = 0.52;
constexpr double PitchWidth = pitch::ViewWidth * PitchScale;
constexpr double PitchHeight = pitch::ViewHeight * PitchScale;
constexpr double PitchGap = 12;
constexpr double ZoneLabelHeight = 22;
constexpr double RowStep = PitchHeight + ZoneLabelHeight + 8;
constexpr double BlockWidth = pitch::ZoneColumns * PitchWidth + (pitch::ZoneColumns - 1) * PitchGap;

constexpr int TitleTop = Margin;
constexpr int ScoresTop = 124;
constexpr int GridsTop = 170;
constexpr int HeadingHeight = 34;
constexpr int TeamTop = 1176;
constexpr int TeamColumns = 4;
constexpr int TeamRowHeight = 28;
constexpr int PlayersTop = 1282;
constexpr int TableRowHeight = 26;
constexpr int NumberColumnWidth = 40;
constexpr int InstrColumns = TCmPlayer::InstrCount - 1;

constexpr QRgb Ink = qRgb(0, 0, 0);
constexpr QRgb Rule = qRgb(160, 160, 160);
constexpr QRgb HeaderBack = qRgb(230, 230, 230);

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class TSheetPainter {
public:
    TSheetPainter(QPainter& painter, const TSheetContent& content)
        : P(painter)
        , C(content) {}

    void Paint() {
        P.fillRect(QRect(0, 0, PageWidth, PageHeight), Qt::white);
        P.setPen(QColor::fromRgb(Ink));
        Text({Margin, TitleTop, Usable, 56}, C.Name, 44, true);
        const TTacticScore score = ScoreTactic(*C.Tactic);
        Text({Margin, ScoresTop, Usable / 2, 30},
             QCoreApplication::translate("TTacticSheet", "Attacking potential: %1")
                 .arg(score.Attack),
             22, false);
        Text(
            {Margin + Usable / 2, ScoresTop, Usable / 2, 30},
            QCoreApplication::translate("TTacticSheet", "Defence potential: %1").arg(score.Defence),
            22, false);
        Grids(true, Margin);
        Grids(false, PageWidth - Margin - BlockWidth);
        TeamInstructions();
        PlayersTable();
    }

private:
    QFont Font(int pixels, bool bold) const {
        QFont font;
        font.setFamilies(pitch::WithFallbacks(C.FontFamily));
        font.setPixelSize(pixels);
        font.setBold(bold);
        return font;
    }

    void Text(const QRectF& box, const QString& text, int pixels, bool bold,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
        P.setFont(Font(pixels, bold));
        P.drawText(box, static_cast<int>(align), text);
    }

    void Grids(bool withBall, double left) {
        Text({left, double(GridsTop), BlockWidth, double(HeadingHeight)},
             withBall ? QCoreApplication::translate("TTacticSheet", "With Ball")
                      : QCoreApplication::translate("TTacticSheet", "Without Ball"),
             24, true);
        for (int zone = 0; zone < TCmPlayer::ZoneCount; ++zone) {
            const int column = zone / pitch::ZoneRows;
            const int fromTop = pitch::ZoneRows - 1 - zone % pitch::ZoneRows;
            const double x = left + column * (PitchWidth + PitchGap);
            const double y = GridsTop + HeadingHeight + fromTop * RowStep;
            P.save();
            P.translate(x, y);
            P.scale(PitchScale, PitchScale);
            pitch::PaintScene(
                P, {C.Tactic, nullptr, zone, withBall, pitch::TSecondTactic::Hidden, C.Colors});
            P.restore();
            // Zones counted from 1, as a reader counts them.
            const QString label =
                withBall ? QCoreApplication::translate("TTacticSheet", "Zone %1, with ball")
                         : QCoreApplication::translate("TTacticSheet", "Zone %1, without ball");
            P.setPen(QColor::fromRgb(Ink));
            Text({x, y + PitchHeight, PitchWidth, ZoneLabelHeight}, label.arg(zone + 1), 15, false,
                 Qt::AlignCenter);
        }
    }

    void TeamInstructions() {
        Text({double(Margin), double(TeamTop), double(Usable), double(HeadingHeight)},
             QCoreApplication::translate("TTacticSheet", "Team instructions"), 24, true);
        const double width = double(Usable) / TeamColumns;
        for (int i = 0; i < TCmTactic::TeamInstrCount; ++i) {
            const QRectF cell(Margin + (i % TeamColumns) * width,
                              TeamTop + HeadingHeight + (i / TeamColumns) * TeamRowHeight, width,
                              TeamRowHeight);
            Text(cell,
                 FromView(cm_codes::TeamInstrNames[i]) + QStringLiteral(": ") +
                     QString::fromStdString(C.Tactic->TeamInstr[static_cast<size_t>(i)]),
                 18, false);
        }
    }

    void PlayersTable() {
        Text({double(Margin), double(PlayersTop), double(Usable), double(HeadingHeight)},
             QCoreApplication::translate("TTacticSheet", "Players instructions"), 24, true);
        const double top = PlayersTop + HeadingHeight;
        const double width = double(Usable - NumberColumnWidth) / InstrColumns;
        auto cell = [&](int column, int row) {
            const double x =
                column == 0 ? Margin : Margin + NumberColumnWidth + (column - 1) * width;
            return QRectF(x, top + row * TableRowHeight, column == 0 ? NumberColumnWidth : width,
                          TableRowHeight);
        };
        P.fillRect(QRectF(Margin, top, Usable, TableRowHeight), QColor::fromRgb(HeaderBack));
        for (int c = 1; c <= InstrColumns; ++c)
            Text(cell(c, 0), FromView(cm_codes::PlayerInstrNames[c - 1]), 14, true,
                 Qt::AlignCenter);
        for (int i = 0; i < TCmTactic::PlayerCount; ++i) {
            const TCmPlayer& player = C.Tactic->Players[static_cast<size_t>(i)];
            Text(cell(0, i + 1), QString::fromStdString(player.NumberText), 15, true,
                 Qt::AlignCenter);
            for (int c = 1; c <= InstrColumns; ++c)
                Text(cell(c, i + 1), QString::fromStdString(player.Instr[static_cast<size_t>(c)]),
                     15, false, Qt::AlignCenter);
        }
        P.setPen(QPen(QColor::fromRgb(Rule), 1));
        const double bottom = top + (TCmTactic::PlayerCount + 1) * TableRowHeight;
        for (int row = 0; row <= TCmTactic::PlayerCount + 1; ++row)
            P.drawLine(QPointF(Margin, top + row * TableRowHeight),
                       QPointF(Margin + Usable, top + row * TableRowHeight));
        for (int c = 0; c <= InstrColumns + 1; ++c) {
            const double x = c > InstrColumns ? Margin + Usable : cell(c, 0).left();
            P.drawLine(QPointF(x, top), QPointF(x, bottom));
        }
    }

    QPainter& P;
    const TSheetContent& C;
};

QByteArray Png(const TSheetContent& content) {
    QImage page(PageWidth, PageHeight, QImage::Format_RGB32);
    const int dotsPerMetre = qRound(DotsPerInch * InchesPerMetre);
    page.setDotsPerMeterX(dotsPerMetre);
    page.setDotsPerMeterY(dotsPerMetre);
    {
        QPainter painter(&page);
        painter.setRenderHint(QPainter::TextAntialiasing);
        TSheetPainter(painter, content).Paint();
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !page.save(&buffer, "PNG"))
        return {};
    return bytes;
}

QByteArray Pdf(const TSheetContent& content) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF());
        writer.setResolution(PdfDotsPerInch);
        writer.setTitle(content.Name);
        writer.setCreator(QStringLiteral("Pitchwright"));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        const double scale = double(writer.width()) / PageWidth;
        painter.scale(scale, scale);
        TSheetPainter(painter, content).Paint();
        if (!painter.end())
            return {};
    }
    return bytes;
}

} // namespace

QByteArray MakeSheet(const TSheetContent& content, TSheetFormat format) {
    if (content.Tactic == nullptr)
        return {};
    return format == TSheetFormat::Pdf ? Pdf(content) : Png(content);
}

} // namespace pages
