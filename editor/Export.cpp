#include "editor/Export.h"

#include "document/ShortName.h"
#include "document/TacticDocument.h"
#include "editor/FileErrors.h"
#include "pitch/ColorSchemes.h"
#include "pitch/Fonts.h"
#include "tactic/Cm_file.h"

#include <QDir>
#include <QFileInfo>

std::optional<pages::TSheetFormat> SheetFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return pages::TSheetFormat::Png;
    if (suffix == QLatin1String("pdf"))
        return pages::TSheetFormat::Pdf;
    return std::nullopt;
}

int WriteSheetFile(const QString& tactic, const QString& out, bool replace, QString& error) {
    const std::optional<pages::TSheetFormat> format = SheetFormatOf(out);
    if (!format) {
        error = QStringLiteral("Could not save %1\nThe name must end in .png or .pdf.")
                    .arg(QDir::toNativeSeparators(out));
        return 1;
    }
    TCmTactic loaded;
    if (!loaded.Load(NativeFileName(tactic))) {
        error = LoadFailureText(tactic, loaded.LastFailure());
        return 1;
    }
    const QByteArray bytes = pages::MakeSheet({ShortName(tactic), &loaded,
                                               *pitch::ClubColors(pitch::TColorTarget::Main, 0),
                                               pitch::WindowFontFace()},
                                              *format);
    if (bytes.isEmpty()) {
        error = QStringLiteral("Could not save %1\nThe sheet could not be drawn.\nNothing was "
                               "written.")
                    .arg(QDir::toNativeSeparators(out));
        return 1;
    }
    TCmFailure failure;
    if (!CmWriteNewFile(NativeFileName(out),
                        {reinterpret_cast<const uint8_t*>(bytes.constData()),
                         static_cast<std::size_t>(bytes.size())},
                        replace, failure)) {
        error = ExportFailureText(out, failure);
        if (failure.Error == TCmError::TargetExists)
            error += QStringLiteral(" --force replaces it.");
        return 1;
    }
    return 0;
}
