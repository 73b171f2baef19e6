#include "exports/writers/Code39Writer.h"

#include <zint.h>

#include <memory>

namespace {

struct SymbolDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

} // namespace

QImage DrawCode39(const QString& code, int moduleWidth, int barHeight, QString* error)
{
    QString data = code.trimmed();
    if (data.size() >= 2 && data.startsWith(QLatin1Char('*')) && data.endsWith(QLatin1Char('*')))
        data = data.mid(1, data.size() - 2);
    if (data.isEmpty()) {
        if (error)
            *error = QStringLiteral("No code to draw");
        return {};
    }
    std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol) {
        if (error)
            *error = QStringLiteral("Out of memory");
        return {};
    }
    symbol->symbology = BARCODE_CODE39;
    symbol->show_hrt = 0;
    symbol->scale
        = 0.5f * static_cast<float>(moduleWidth < 1 ? 1 : moduleWidth); // zint's scale 0.5 = 1 pixel per module
    symbol->height = static_cast<float>(barHeight) / static_cast<float>(moduleWidth < 1 ? 1 : moduleWidth);
    symbol->output_options |= BARCODE_QUIET_ZONES;
    const QByteArray bytes = data.toLatin1();
    const int result = ZBarcode_Encode_and_Buffer(
        symbol.get(), reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<int>(bytes.size()), 0);
    if (result >= ZINT_ERROR || !symbol->bitmap) {
        if (error)
            *error = QString::fromLatin1(symbol->errtxt);
        return {};
    }
    const int width = symbol->bitmap_width;
    const int height = symbol->bitmap_height;
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        memcpy(image.scanLine(y), symbol->bitmap + static_cast<size_t>(y) * static_cast<size_t>(width) * 3,
            static_cast<size_t>(width) * 3);
    return image;
}
