#include "exports/RecordsetFiles.h"

#include "core/Actions.h"
#include "core/AppError.h"
#include "core/AppInfo.h"
#include "core/Database.h"
#include "core/FileDialogs.h"
#include "core/Recordset.h"
#include "core/SafeFiles.h"

#include <QDate>
#include <QDateTime>
#include <QXmlStreamWriter>

#include <cmath>
#include <limits>
#include <vector>

namespace {

// --- What each logical column type is in the two files -------------------------------------------

// OLE DB type numbers (the ADO field types of the same numbers).
enum DbType : quint16 {
    DBTYPE_R8 = 5,
    DBTYPE_CY = 6,
    DBTYPE_I4 = 3,
    DBTYPE_BOOL = 11,
    DBTYPE_I8 = 20,
    DBTYPE_WSTR = 130,
    DBTYPE_DBDATE = 133,
    DBTYPE_DBTIMESTAMP = 135,
};

// Column flags of the descriptor (DBCOLUMNFLAGS).
constexpr quint32 kFlagFixedLength = 0x10;
constexpr quint32 kFlagNullable = 0x20;
constexpr quint32 kFlagMayBeNull = 0x40;

struct ColumnFacts {
    quint16 dbType = DBTYPE_WSTR;
    quint32 maxLength = 0; // bytes of a fixed value, characters of a text
    quint32 precision = 0;
    bool fixed = true;
};

bool fitsInt32(const Recordset& recordset, int column)
{
    for (int row = 0; row < recordset.recordCount(); ++row) {
        if (recordset.isNullAt(row, column))
            continue;
        const qint64 value = recordset.valueAt(row, column).toLongLong();
        if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
            return false;
    }
    return true;
}

quint32 longestText(const Recordset& recordset, int column)
{
    qsizetype longest = 1;
    for (int row = 0; row < recordset.recordCount(); ++row) {
        if (!recordset.isNullAt(row, column))
            longest = std::max(longest, recordset.valueAt(row, column).toString().size());
    }
    return static_cast<quint32>(longest);
}

ColumnFacts factsOf(const Recordset& recordset, int column)
{
    switch (recordset.fieldType(column)) {
    case ColumnType::Integer:
        if (fitsInt32(recordset, column))
            return { DBTYPE_I4, 4, 10, true };
        return { DBTYPE_I8, 8, 19, true };
    case ColumnType::Double:
        return { DBTYPE_R8, 8, 15, true };
    case ColumnType::Currency:
        return { DBTYPE_CY, 8, 19, true };
    case ColumnType::Date:
        return { DBTYPE_DBDATE, 6, 10, true };
    case ColumnType::DateTime:
        return { DBTYPE_DBTIMESTAMP, 16, 19, true };
    case ColumnType::Boolean:
        return { DBTYPE_BOOL, 2, 0, true };
    case ColumnType::Text:
        break;
    }
    return { DBTYPE_WSTR, longestText(recordset, column), 0, false };
}

QDateTime momentOf(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QDate)
        return QDateTime(value.toDate(), QTime(0, 0));
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime();
    QDateTime moment = QDateTime::fromString(value.toString(), Qt::ISODate);
    if (!moment.isValid())
        moment = QDateTime(QDate::fromString(value.toString(), Qt::ISODate), QTime(0, 0));
    return moment;
}

// Money as the exact number of ten-thousandths (the currency type's scaled integer).
qint64 currencyUnits(double value)
{
    return static_cast<qint64>(std::llround(value * 10000.0));
}

QString currencyText(double value)
{
    const qint64 units = currencyUnits(value);
    const quint64 magnitude = units < 0 ? 0ull - static_cast<quint64>(units) : static_cast<quint64>(units);
    QString text = QString::number(magnitude / 10000);
    quint64 fraction = magnitude % 10000;
    if (fraction != 0) {
        QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return units < 0 ? QLatin1Char('-') + text : text;
}

// --- XML rowset ----------------------------------------------------------------------------------

const QString kSchemaNamespace = QStringLiteral("uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882");
const QString kTypeNamespace = QStringLiteral("uuid:C2F41010-65B3-11d1-A29F-00AA00C14882");
const QString kRowsetNamespace = QStringLiteral("urn:schemas-microsoft-com:rowset");
const QString kRowNamespace = QStringLiteral("#RowsetSchema");

bool isXmlName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (int i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        const bool start = c.isLetter() || c == QLatin1Char('_');
        const bool rest = start || c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('.');
        if (i == 0 ? !start : !rest)
            return false;
    }
    // Names beginning with "xml" are reserved.
    return !name.startsWith(QLatin1String("xml"), Qt::CaseInsensitive);
}

// A value as the rowset writes it: ISO dates, numbers with "." and no grouping, Booleans as the XML
// data types' 1 and 0. Characters XML cannot carry are left out.
QString xmlValue(const QVariant& value, ColumnType type)
{
    switch (type) {
    case ColumnType::Integer:
        return QString::number(value.toLongLong());
    case ColumnType::Double:
        return QString::number(value.toDouble(), 'g', 15);
    case ColumnType::Currency:
        return currencyText(value.toDouble());
    case ColumnType::Date:
        return momentOf(value).date().toString(Qt::ISODate);
    case ColumnType::DateTime:
        return momentOf(value).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    case ColumnType::Boolean:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case ColumnType::Text:
        break;
    }
    QString text = value.toString();
    text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'); });
    return text;
}

QString xmlTypeName(quint16 dbType)
{
    switch (dbType) {
    case DBTYPE_I4:
        return QStringLiteral("int");
    case DBTYPE_I8:
        return QStringLiteral("i8");
    case DBTYPE_R8:
        return QStringLiteral("float");
    case DBTYPE_CY:
        return QStringLiteral("i8");
    case DBTYPE_DBDATE:
        return QStringLiteral("date");
    case DBTYPE_DBTIMESTAMP:
        return QStringLiteral("dateTime");
    case DBTYPE_BOOL:
        return QStringLiteral("boolean");
    default:
        return QStringLiteral("string");
    }
}

// --- ADTG ----------------------------------------------------------------------------------------

// Little-endian writer of the TableGram's fields.
class Gram {
public:
    void byte(quint8 value) { m_bytes.append(static_cast<char>(value)); }
    void u16(quint16 value)
    {
        byte(static_cast<quint8>(value & 0xFF));
        byte(static_cast<quint8>(value >> 8));
    }
    void u32(quint32 value)
    {
        u16(static_cast<quint16>(value & 0xFFFF));
        u16(static_cast<quint16>(value >> 16));
    }
    void u64(quint64 value)
    {
        u32(static_cast<quint32>(value & 0xFFFFFFFFu));
        u32(static_cast<quint32>(value >> 32));
    }
    void raw(const QByteArray& bytes) { m_bytes.append(bytes); }
    // LENGTH-PREFIXED-STRING: the count of UTF-16 code units, then the text in UTF-16LE.
    void text(const QString& value)
    {
        u16(static_cast<quint16>(value.size()));
        for (const QChar c : value)
            u16(c.unicode());
    }
    // An element: its token, the size of the rest (USHORT), then the body.
    void element(quint8 token, const Gram& body)
    {
        byte(token);
        u16(static_cast<quint16>(body.m_bytes.size()));
        raw(body.m_bytes);
    }
    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

constexpr quint8 kTokenHeader = 0x01;
constexpr quint8 kTokenHandlerOptions = 0x02;
constexpr quint8 kTokenResultDescriptor = 0x03;
constexpr quint8 kTokenColumnDescriptor = 0x06;
constexpr quint8 kTokenOriginalResultRow = 0x07;
constexpr quint8 kTokenDone = 0x0F;
constexpr quint8 kTokenResultContext = 0x10;

// The RecordSet GUID that every handler-options submessage carries.
const unsigned char kRecordSetGuid[16] = { 0xB6, 0x92, 0xF2, 0x3F, 0x04, 0xB2, 0xCF, 0x11,
                                           0x8D, 0x23, 0x00, 0xAA, 0x00, 0x5F, 0xFE, 0x58 };
// Our own identity of the one result descriptor of a saved recordset.
const unsigned char kResultGuid[16] = { 0x3A, 0x1C, 0x52, 0x8E, 0x6B, 0x0D, 0x4F, 0x47,
                                        0x9B, 0x2E, 0x42, 0x52, 0x41, 0x4D, 0x42, 0x4C };

void adtgValue(Gram& row, const QVariant& value, const ColumnFacts& facts)
{
    switch (facts.dbType) {
    case DBTYPE_I4:
        row.u32(static_cast<quint32>(static_cast<qint32>(value.toLongLong())));
        break;
    case DBTYPE_I8:
        row.u64(static_cast<quint64>(value.toLongLong()));
        break;
    case DBTYPE_R8: {
        const double number = value.toDouble();
        quint64 bits = 0;
        static_assert(sizeof bits == sizeof number);
        std::memcpy(&bits, &number, sizeof bits);
        row.u64(bits);
        break;
    }
    case DBTYPE_CY:
        row.u64(static_cast<quint64>(currencyUnits(value.toDouble())));
        break;
    case DBTYPE_BOOL:
        row.u16(value.toBool() ? 0xFFFF : 0x0000);
        break;
    case DBTYPE_DBDATE: {
        const QDate date = momentOf(value).date();
        row.u16(static_cast<quint16>(date.year()));
        row.u16(static_cast<quint16>(date.month()));
        row.u16(static_cast<quint16>(date.day()));
        break;
    }
    case DBTYPE_DBTIMESTAMP: {
        const QDateTime moment = momentOf(value);
        row.u16(static_cast<quint16>(moment.date().year()));
        row.u16(static_cast<quint16>(moment.date().month()));
        row.u16(static_cast<quint16>(moment.date().day()));
        row.u16(static_cast<quint16>(moment.time().hour()));
        row.u16(static_cast<quint16>(moment.time().minute()));
        row.u16(static_cast<quint16>(moment.time().second()));
        row.u32(static_cast<quint32>(moment.time().msec()) * 1000000u); // billionths of a second
        break;
    }
    default: {
        // A text: its length in bytes (ULONG), then UTF-16LE.
        const QString text = value.toString();
        row.u32(static_cast<quint32>(text.size() * 2));
        for (const QChar c : text)
            row.u16(c.unicode());
        break;
    }
    }
}

} // namespace

QByteArray RecordsetToXml(const Recordset& recordset)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartElement(QStringLiteral("xml"));
    xml.writeNamespace(kSchemaNamespace, QStringLiteral("s"));
    xml.writeNamespace(kTypeNamespace, QStringLiteral("dt"));
    xml.writeNamespace(kRowsetNamespace, QStringLiteral("rs"));
    xml.writeNamespace(kRowNamespace, QStringLiteral("z"));

    const int fields = recordset.isOpen() ? recordset.fieldCount() : 0;
    std::vector<ColumnFacts> facts;
    QStringList attributeNames;
    xml.writeStartElement(kSchemaNamespace, QStringLiteral("Schema"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("RowsetSchema"));
    xml.writeStartElement(kSchemaNamespace, QStringLiteral("ElementType"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("row"));
    xml.writeAttribute(QStringLiteral("content"), QStringLiteral("eltOnly"));
    for (int column = 0; column < fields; ++column) {
        facts.push_back(factsOf(recordset, column));
        const ColumnFacts& fact = facts.back();
        const QString name = recordset.fieldName(column);
        // A name that cannot be an XML attribute is stored as c<ordinal> with the real name beside it.
        const QString attribute = isXmlName(name) && !attributeNames.contains(name) ? name : QStringLiteral("c%1").arg(column);
        attributeNames << attribute;
        xml.writeStartElement(kSchemaNamespace, QStringLiteral("AttributeType"));
        xml.writeAttribute(QStringLiteral("name"), attribute);
        if (attribute != name)
            xml.writeAttribute(kRowsetNamespace, QStringLiteral("name"), name);
        xml.writeAttribute(kRowsetNamespace, QStringLiteral("number"), QString::number(column + 1));
        xml.writeAttribute(kRowsetNamespace, QStringLiteral("nullable"), QStringLiteral("true"));
        xml.writeEmptyElement(kSchemaNamespace, QStringLiteral("datatype"));
        xml.writeAttribute(kTypeNamespace, QStringLiteral("type"), xmlTypeName(fact.dbType));
        if (fact.dbType == DBTYPE_CY)
            xml.writeAttribute(kRowsetNamespace, QStringLiteral("dbtype"), QStringLiteral("currency"));
        if (fact.dbType == DBTYPE_DBTIMESTAMP)
            xml.writeAttribute(kRowsetNamespace, QStringLiteral("dbtype"), QStringLiteral("timestamp"));
        xml.writeAttribute(kTypeNamespace, QStringLiteral("maxLength"), QString::number(fact.maxLength));
        if (fact.precision > 0)
            xml.writeAttribute(kRowsetNamespace, QStringLiteral("precision"), QString::number(fact.precision));
        if (fact.fixed)
            xml.writeAttribute(kRowsetNamespace, QStringLiteral("fixedlength"), QStringLiteral("true"));
        xml.writeEndElement(); // AttributeType
    }
    xml.writeEmptyElement(kSchemaNamespace, QStringLiteral("extends"));
    xml.writeAttribute(QStringLiteral("type"), QStringLiteral("rs:rowbase"));
    xml.writeEndElement(); // ElementType
    xml.writeEndElement(); // Schema

    xml.writeStartElement(kRowsetNamespace, QStringLiteral("data"));
    const int rows = fields > 0 ? recordset.recordCount() : 0;
    for (int row = 0; row < rows; ++row) {
        xml.writeEmptyElement(kRowNamespace, QStringLiteral("row"));
        for (int column = 0; column < fields; ++column) {
            if (!recordset.isNullAt(row, column))
                xml.writeAttribute(attributeNames.at(column), xmlValue(recordset.valueAt(row, column), recordset.fieldType(column)));
        }
    }
    xml.writeEndElement(); // rs:data
    xml.writeEndElement(); // xml
    return out;
}

QByteArray RecordsetToAdtg(const Recordset& recordset)
{
    const int fields = recordset.isOpen() ? recordset.fieldCount() : 0;
    const int rows = fields > 0 ? recordset.recordCount() : 0;
    Gram gram;

    // Header: "TG!", version 1.0, little-endian, Unicode.
    Gram header;
    header.raw(QByteArrayLiteral("TG!"));
    header.byte(1);
    header.byte(0);
    header.byte(0x00);
    header.byte(0x01);
    gram.byte(kTokenHeader);
    gram.byte(static_cast<quint8>(header.bytes().size()));
    gram.raw(header.bytes());

    // Handler options: the RecordSet GUID, all rows, no addresses or name, synchronous.
    Gram options;
    options.raw(QByteArray(reinterpret_cast<const char*>(kRecordSetGuid), 16));
    options.byte(0x03);
    options.text({});
    options.text({});
    options.text({});
    options.u16(0x0001);
    gram.element(kTokenHandlerOptions, options);

    // Result descriptor: a snapshot, not normalised, every column visible, no base tables.
    Gram result;
    result.raw(QByteArray(reinterpret_cast<const char*>(kResultGuid), 16));
    result.byte(0x00); // reserved
    result.byte(0x00); // snapshot cursor
    result.byte(0x00); // not normalised
    result.u16(static_cast<quint16>(fields)); // visible columns
    result.u16(static_cast<quint16>(fields)); // total columns
    result.u16(0); // computed columns
    result.u16(0); // tables
    result.u16(0); // order-by columns
    result.u32(static_cast<quint32>(rows));
    gram.element(kTokenResultDescriptor, result);

    // Record-set context: the same descriptor identity, no property sets.
    Gram context;
    context.raw(QByteArray(reinterpret_cast<const char*>(kResultGuid), 16));
    gram.element(kTokenResultContext, context);

    std::vector<ColumnFacts> facts;
    for (int column = 0; column < fields; ++column) {
        facts.push_back(factsOf(recordset, column));
        const ColumnFacts& fact = facts.back();
        Gram descriptor;
        descriptor.byte(0x01); // presence: the friendly column name
        descriptor.byte(0x00);
        descriptor.byte(0x00);
        descriptor.u16(static_cast<quint16>(column + 1));
        descriptor.text(recordset.fieldName(column));
        descriptor.u16(fact.dbType);
        descriptor.u32(fact.maxLength);
        descriptor.u32(fact.precision);
        descriptor.u32(0); // scale
        descriptor.u32((fact.fixed ? kFlagFixedLength : 0) | kFlagNullable | kFlagMayBeNull);
        descriptor.u16(0xFFFF); // visible
        gram.element(kTokenColumnDescriptor, descriptor);
    }

    // Rows, each an unchanged original row: a bit per column set for a null value, then the
    // values that are not null.
    const int maskBytes = (fields + 7) / 8;
    for (int row = 0; row < rows; ++row) {
        Gram data;
        QByteArray mask(maskBytes, '\0');
        for (int column = 0; column < fields; ++column) {
            if (recordset.isNullAt(row, column))
                mask[column / 8] = static_cast<char>(mask[column / 8] | (1 << (column % 8)));
        }
        data.raw(mask);
        for (int column = 0; column < fields; ++column) {
            if (!recordset.isNullAt(row, column))
                adtgValue(data, recordset.valueAt(row, column), facts[column]);
        }
        gram.byte(kTokenOriginalResultRow);
        gram.raw(data.bytes());
    }
    gram.byte(kTokenDone);
    return gram.bytes();
}

bool SaveRecordsetAs(const QString& statement, int format, const QString& defaultName)
{
    bool saved = false;
    ActionScope action(QStringLiteral("modReports"), QStringLiteral("SaveRecordsetAs"), QStringLiteral("Save Data As"));
    const bool ran = action.run([&] {
        QString filter;
        QString title;
        QString fileName;
        if (format == static_cast<int>(RecordsetFormat::XML)) {
            filter = QStringLiteral("Extensible Markup Language (*.xml)");
            title = QStringLiteral("Save Data In XML Format As");
            fileName = defaultName + QStringLiteral(".xml");
        } else if (format == static_cast<int>(RecordsetFormat::ADTG)) {
            filter = QStringLiteral("Advanced Data TableGram (*.adtg)");
            title = QStringLiteral("Save Data In ADTG Format As");
            fileName = defaultName + QStringLiteral(".adtg");
        } else {
            return;
        }
        // The dialog asks before overwriting; an empty answer is a cancel.
        const QString path = Dialogs::files().saveFileName(nullptr, title, QString(), fileName, filter);
        if (path.isEmpty())
            return;

        BusyPointer busy;
        std::unique_ptr<Recordset> recordset;
        if (!Act_OpenRecordset(recordset, statement) || !recordset)
            RaiseSilent();
        const QByteArray bytes = format == static_cast<int>(RecordsetFormat::XML) ? RecordsetToXml(*recordset) : RecordsetToAdtg(*recordset);
        CloseRecordset(recordset);
        // Owner-only, and never through a symbolic link planted where the file goes.
        const QString failure = WriteFileSafely(path, bytes);
        if (!failure.isEmpty())
            RaiseToReport(failure);
        saved = true;
    });
    return ran && saved;
}
