#include "exports/writers/LibraryWriters.h"

#include "exports/writers/Code39Writer.h"
#include "exports/writers/WorkbookWriter.h"

namespace {
class Libraries final : public ExportWriters {
public:
    QString writeWorkbook(
        const QString& file, const QString& path, Recordset& recordset, const WorkbookRequest& request) override
    {
        return WriteWorkbookFile(file, path, recordset, request);
    }
    QImage code39(const QString& code, int moduleWidth, int barHeight, QString* error) override
    {
        return DrawCode39(code, moduleWidth, barHeight, error);
    }
};
} // namespace

ExportWriters& LibraryWriters()
{
    static Libraries writers;
    return writers;
}
