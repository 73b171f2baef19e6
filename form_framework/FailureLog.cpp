#include "form_framework/FailureLog.h"

#include "core/AppError.h"
#include "core/ErrorReport.h"
#include "core/Platform.h"

#include <exception>

void LogSwallowedFailure(const QString& where)
{
    QString what = QStringLiteral("an unknown failure");
    try {
        throw;
    } catch (const AppError& error) {
        what = QString::number(error.number()) + QStringLiteral(" ") + error.description();
    } catch (const std::exception& error) {
        what = QString::fromLocal8Bit(error.what());
    } catch (...) {
    }
    // The program went on, as a Yes (Continue) to the error dialog would have it.
    WriteErrorLog(MsgBox::Yes,
        QStringLiteral("Failure ignored in ") + where + QStringLiteral(": ") + what + QStringLiteral("\r\n"));
}
