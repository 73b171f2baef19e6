#include "administration/frmTest.h"

#include "core/TextUtilities.h"
#include "form_framework/zInfo.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmTest::frmTest()
    : DataWindow(QStringLiteral("frmTest"))
{
    setWindowTitle(QStringLiteral("Test"));
    info()->setFormType(FormType::Other);
    txtData = new QPlainTextEdit(this);
    txtData->setObjectName(QStringLiteral("txtData"));
    txtData->setAccessibleName(QStringLiteral("Data"));
    Command2 = new QPushButton(QStringLiteral("Command2"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtData, 1);
    layout->addWidget(Command2);
    connect(Command2, &QPushButton::clicked, this, [] { EmptyTestProc(QStringLiteral("Untitled - Notepad")); });
    resize(400, 300);
}
