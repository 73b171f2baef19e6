#include "form_framework/FormFieldsToText.h"

#include "form_framework/BoundField.h"
#include "form_framework/DataWindow.h"
#include "core/DatabaseList.h"
#include "exports/Exports.h"
#include "form_framework/FieldListing.h"
#include "core/Viewers.h"
#include "form_framework/zIdentity.h"

#include <QWidget>

namespace {

bool listedType(const QWidget* control)
{
    const QString type = QString::fromLatin1(control->metaObject()->className());
    if (!type.startsWith(QLatin1Char('z'), Qt::CaseInsensitive))
        return false;
    static const QStringList excluded { QStringLiteral("zLabel"), QStringLiteral("zExtendedLabel"), QStringLiteral("zImage"),
                                        QStringLiteral("zButtonsAddEdit") };
    for (const QString& name : excluded) {
        if (type.compare(name, Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}

} // namespace

std::vector<FieldEntry> ListedFields(const DataWindow* window)
{
    std::vector<FieldEntry> entries;
    const QList<QWidget*> controls = window->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        if (!listedType(control) || !control->isVisibleTo(const_cast<DataWindow*>(window)))
            continue;
        FieldEntry entry;
        // Only controls that carry a field's members (GoodName, Text, Applicable) can be listed.
        if (auto* field = dynamic_cast<BoundField*>(control)) {
            if (!field->Applicable())
                continue;
            entry.GoodName = field->GoodName();
            entry.Text = field->Text();
        } else if (auto* identity = qobject_cast<zIdentity*>(control)) {
            entry.GoodName = identity->GoodName();
            entry.Text = identity->Text();
        } else {
            continue;
        }
        const QPoint place = control->mapTo(const_cast<DataWindow*>(window), QPoint(0, 0));
        entry.Left = place.x();
        entry.Top = place.y();
        entries.push_back(entry);
    }
    return entries;
}

void SortFieldEntries(std::vector<FieldEntry>& entries)
{
    for (size_t p = entries.size(); p-- > 1;) {
        for (size_t q = 0; q < p; ++q) {
            const FieldEntry& at = entries[p];
            const FieldEntry& earlier = entries[q];
            if (at.Top < earlier.Top || (at.Top == earlier.Top && at.Left < earlier.Left))
                std::swap(entries[p], entries[q]);
        }
    }
}

QString FieldListingText(const DataWindow* window, const QString& caption)
{
    std::vector<FieldEntry> entries = ListedFields(window);
    SortFieldEntries(entries);
    const QString crLf = QStringLiteral("\r\n");
    const DatabaseEntry* database = DatabaseAt(CurrentDB());
    QString text = caption + crLf + crLf + ReportSignature() + crLf + QStringLiteral("Database: ")
        + (database ? database->DisplayName : QString()) + crLf + crLf;
    for (const FieldEntry& entry : entries)
        text += entry.GoodName + QStringLiteral(":\t") + entry.Text + crLf;
    return text;
}

void FormFieldsToText(DataWindow* window, const QString& caption)
{
    ShowText(FieldListingText(window, caption));
}

void InstallFieldListing()
{
    SetFieldListing(&FormFieldsToText);
}
