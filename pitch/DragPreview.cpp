#include "DragPreview.h"

#include "DiscCache.h"

#include <QFontMetrics>
#include <QPainter>

namespace pitch {
namespace {

constexpr int PreviewPenWidth = 2; // the main tactic's pen, left by the redraw
constexpr int HintPixelHeight = 15;

// Text with its cell's top-left corner at (x, y), on the fill colour unless
// clearBack. Glyphs are clipped to the cell, as on the discs.
void Text(QPainter& painter, TPixel at, const QString& text, const TTacticColors& colors,
          bool clearBack) {
    if (text.isEmpty())
        return;
    const QFontMetrics fm = painter.fontMetrics();
    const QRect cell(at.X, at.Y, fm.horizontalAdvance(text), fm.height());
    if (!clearBack)
        painter.fillRect(cell, colors.Fill);
    painter.save();
    painter.setClipRect(cell, Qt::IntersectClip);
    painter.setPen(colors.Line);
    painter.drawText(cell.left(), cell.top() + fm.ascent(), text);
    painter.restore();
}

} // namespace

void DrawDragPreview(QImage& picture, const TPreview& preview, const std::string& numberText,
                     const TTacticColors& colors, bool clearBack, const QFont& font) {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(font);

    Text(painter, preview.HintAt, QString::fromStdString(preview.Hint), colors, clearBack);

    painter.setPen(QPen(colors.Line, PreviewPenWidth, Qt::DotLine));
    if (clearBack)
        painter.setBrush(Qt::NoBrush);
    else
        painter.setBrush(colors.Fill);
    const TPixel c = preview.Centre;
    painter.drawEllipse(
        QRect(c.X - DiscHalfBox, c.Y - DiscHalfBox, 2 * DiscHalfBox, 2 * DiscHalfBox));

    Text(painter, preview.LabelAt, QString::fromStdString(numberText), colors, clearBack);
}

void DrawDragPreview(TPitchRenderer& renderer, const TPreview& preview, const TCmTactic& main,
                     const TTacticColors& colors, bool clearBack) {
    if (preview.Player < 0 || preview.Player >= TCmTactic::PlayerCount)
        return;
    DrawDragPreview(renderer.MutablePicture(), preview, main.Players[preview.Player].NumberText,
                    colors, clearBack, renderer.LabelFont(HintPixelHeight));
}

} // namespace pitch
