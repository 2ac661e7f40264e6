#include "pages/TacticSheet.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace pages {

// A plain page with the tactic's name, until the full sheet is drawn here.
QByteArray MakeSheet(const TSheetContent& content, TSheetFormat format) {
    if (content.Tactic == nullptr)
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const auto draw = [&](QPaintDevice& device) {
        QPainter painter(&device);
        painter.setFont(QFont(content.FontFamily, 24));
        painter.drawText(QRect(0, 0, device.width(), device.height() / 4), Qt::AlignCenter,
                         content.Name);
    };
    if (format == TSheetFormat::Pdf) {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        draw(pdf);
    } else {
        QImage page(794, 1123, QImage::Format_RGB32);
        page.fill(Qt::white);
        draw(page);
        if (!page.save(&buffer, "PNG"))
            return {};
    }
    return bytes;
}

} // namespace pages
