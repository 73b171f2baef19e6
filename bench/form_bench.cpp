// What the window framework costs over the database work it wraps, on an embedded database:
//   (a) with 40 windows open (20 record windows, 20 search windows of the same table), the
//       data-changed broadcast that follows a save, against the save's own statement;
//   (b) opening a record window of 20 fields in edit mode (window, load of its row into the
//       fields, snapshot), against the one-row query it runs.
// Prints each ratio beside its target; never fails on a missed target.

#include "BenchTiming.h"
#include "core/Connection.h"
#include "form_framework/DataWindow.h"
#include "core/Database.h"
#include "form_framework/FormRegistry.h"
#include "form_framework/FormSnapshot.h"
#include "core/ProcedureCatalogue.h"
#include "form_framework/ResultList.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zButtonsAddEdit.h"
#include "form_framework/zIdentity.h"
#include "form_framework/zInfo.h"
#include "form_framework/zText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kFields = 20;
constexpr int kWindows = 40;

QString fieldName(int i)
{
    return QStringLiteral("Field_%1").arg(i, 2, 10, QLatin1Char('0'));
}

// A record window of twenty text fields over BenchRecords.
class frmBenchRecord : public DataWindow {
public:
    frmBenchRecord()
        : DataWindow(QStringLiteral("frmBenchRecord"))
    {
        auto* layout = new QGridLayout(this);
        auto* id = new zIdentity(this);
        id->setDBFieldName(QStringLiteral("Bench_Record_ID"));
        layout->addWidget(id, 0, 0);
        for (int i = 0; i < kFields; ++i) {
            auto* field = new zText(this);
            field->setObjectName(QStringLiteral("ztxt%1").arg(i));
            field->setDBFieldName(fieldName(i));
            field->setGoodName(fieldName(i));
            layout->addWidget(field, 1 + i / 2, i % 2);
            m_fields.push_back(field);
        }
        layout->addWidget(new zButtonsAddEdit(this), 1 + kFields / 2, 0, 1, 2);
        zInfo* z = info();
        z->setFormType(FormType::Record);
        z->setFormCaption(QStringLiteral("Bench Record"));
        z->setMainTableName(QStringLiteral("BenchRecords"));
        z->setIdentityField(QStringLiteral("Bench_Record_ID"));
    }
    bool CheckFieldsProcedure() override { return true; }
    bool ActPopulateFormEditProcedure() override
    {
        std::unique_ptr<Recordset> rs;
        if (!Act_OpenRecordset(rs, info()->SearchSQL() + info()->Identity()) || rs->eof())
            return false;
        for (int i = 0; i < kFields; ++i)
            m_fields[static_cast<size_t>(i)]->setValue(rs->value(fieldName(i)));
        return true;
    }
    bool Act_LoadForm() override
    {
        const bool result = Act_StandardProcessOnLoadMessage(this);
        info()->setDataChanged(false);
        return result;
    }

private:
    std::vector<zText*> m_fields;
};

// A result list that keeps its rows in memory: enough for the broadcast's row re-read.
class BenchList : public QWidget, public ResultList {
public:
    explicit BenchList(QWidget* parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("zlvwData"));
    }
    QString PopulateSQL() const override { return m_sql; }
    void setPopulateSQL(const QString& sql) override { m_sql = sql; }
    void Populate() override { }
    void AddListViewItems(const QString& sql) override
    {
        std::unique_ptr<Recordset> rs;
        if (Act_OpenRecordset(rs, sql))
            m_rows += rs->recordCount();
    }
    void UpdateListViewItems(const QString& sql) override { AddListViewItems(sql); }
    void RemoveListViewItemsByID(const QString&) override { }
    void HighlightOneListViewItem(const QString&) override { }
    bool MoveNext() override { return false; }
    bool MovePrevious() override { return false; }
    void Edit(int, int) override { }
    int SelectedItemID() const override { return 0; }
    QString SelectedItemText() const override { return {}; }
    bool Act_Delete() override { return true; }
    void AdjustColumnWidth(bool) override { }
    void SelectAll() override { }

private:
    QString m_sql;
    int m_rows = 0;
};

class frmBenchRecords : public DataWindow {
public:
    frmBenchRecords()
        : DataWindow(QStringLiteral("frmBenchRecords"))
    {
        new BenchList(this);
        zInfo* z = info();
        z->setFormType(FormType::Search);
        z->setMode(FormMode::SearchList);
        z->setMainTableName(QStringLiteral("BenchRecords"));
        z->setIdentityField(QStringLiteral("Bench_Record_ID"));
        z->setSearchSQLOne(QStringLiteral("EXEC usp_Bench_Records_One"));
    }
};

void line(const char* what, double ours, double baseline, double target)
{
    const double ratio = ours / baseline;
    std::printf("%-62s %10.1f us %10.1f us %7.2f   <= %.1f  %s\n", what, ours / 1000.0, baseline / 1000.0, ratio, target,
                ratio <= target ? "yes" : "NO");
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder;
    ConnectionTarget target { Engine::SQLite, QStringLiteral("(local)"), folder.filePath(QStringLiteral("bench.db")) };
    SetDBConnection(DatabaseConnection::open(target, Credentials {}));

    QStringList columns;
    for (int i = 0; i < kFields; ++i)
        columns << fieldName(i) + QStringLiteral(" TEXT");
    Act_ExecuteSQL(QStringLiteral("CREATE TABLE BenchRecords (Bench_Record_ID INTEGER PRIMARY KEY AUTOINCREMENT, %1)")
                       .arg(columns.join(QStringLiteral(", "))));
    QStringList names;
    QStringList values;
    for (int i = 0; i < kFields; ++i) {
        names << fieldName(i);
        values << QStringLiteral("'value %1'").arg(i);
    }
    const QString insert = QStringLiteral("INSERT INTO BenchRecords(%1)\r\nVALUES(%2)\r\nRETURNING Bench_Record_ID")
                               .arg(names.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")));
    const int first = GetSQLValue(insert)->toInt();

    // The search windows' one-row procedure, as every list of the system has one.
    ProcedureCatalogue::instance().registerProcedure(ProcedureCatalogue::parse(
        QStringLiteral("usp_Bench_Records_One"),
        QStringLiteral("-- @param Bench_Record_ID integer\nSELECT * FROM BenchRecords WHERE Bench_Record_ID = :Bench_Record_ID"), {}, {}));
    FormRegistry::registerForm(QStringLiteral("frmBenchRecord"), [] { return new frmBenchRecord; });
    FormRegistry::registerForm(QStringLiteral("frmBenchRecords"), [] { return new frmBenchRecords; });

    std::printf("Window framework on SQLite\n%-62s %13s %13s %7s %8s\n", "measurement", "ours", "baseline", "ratio", "target");

    // (b) first, with no other window open.
    const QString oneRow = QStringLiteral("SELECT * FROM BenchRecords WHERE Bench_Record_ID = %1").arg(first);
    const qint64 query = BestOf(20, [&] { GetSQLValue(oneRow); });
    const qint64 open = BestOf(20, [&] {
        DataWindow* window
            = OpenFormWithParams(QStringLiteral("frmBenchRecord"), first, { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), first });
        UnloadWindow(window);
        QApplication::processEvents();
    });

    // The framework's own part of an opening: the load of the row into the twenty fields and the
    // snapshot, on a window already built.
    DataWindow* built = FormRegistry::create(QStringLiteral("frmBenchRecord"));
    const qint64 load = BestOf(20, [&] {
        FormParamDict parameters;
        parameters.add(QStringLiteral("Mode"), 2);
        parameters.add(QStringLiteral("IdentityValue"), first);
        FormParams::queue(QStringLiteral("frmBenchRecord"), parameters);
        Act_StandardProcessOnLoadMessage(built);
    });
    delete built;

    // (a) forty windows, then saves.
    for (int i = 0; i < kWindows / 2; ++i) {
        const int id = GetSQLValue(insert)->toInt();
        OpenFormWithParams(QStringLiteral("frmBenchRecord"), id, { QStringLiteral("Mode"), 2, QStringLiteral("IdentityValue"), id });
        LoadFormByName(QStringLiteral("frmBenchRecords"));
    }
    int lastId = first;
    const qint64 save = BestOf(50, [&] { lastId = GetSQLValue(insert)->toInt(); });
    const qint64 broadcast = BestOf(50, [&] {
        BroadcastDataChanged(DataChangedAction::Added, QStringLiteral("BenchRecords"), QString::number(lastId));
    });
    line("(a) broadcast to 40 open windows / the save's statement", double(broadcast), double(save), 1.0);
    line("(b) load row, fill 20 fields, snapshot / its one-row query", double(load), double(query), 2.0);
    std::printf("    the whole opening with the window's construction: %.1f us (%.1fx the query)\n", double(open) / 1000.0,
                double(open) / double(query));

    for (QWidget* window : LoadedWindows())
        UnloadWindow(window);
    CloseConnection();
    return 0;
}
