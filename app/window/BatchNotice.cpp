// Telling the desktop that a batch ended, when the person is looking at another window.
#include "window/MainWindow.h"

#include "dialogs/Notifier.h"
#include "list/ListPart.h"
#include "list/SourceList.h"

namespace tavrin {

namespace {

QString Files(int count)
{
    return count == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(count);
}

}  // namespace

void TForm1::SetNotifier(std::unique_ptr<TNotifier> notifier)
{
    notifier_ = std::move(notifier);
}

void TForm1::NotifyBatchEnd()
{
    if (isActiveWindow() || !notifier_)
        return;
    int done = 0;
    int failed = 0;
    for (int row = 0; row < list_->RowCount(); ++row) {
        const QString status = list_->Cell(row, scProgress);
        done += status == QLatin1String("Done");
        failed += status == QLatin1String("Fail");
    }
    // The title must not say all went well over failed rows.
    notifier_->Notify(failed == 0 ? QStringLiteral("All Conversions Completed")
                                  : QStringLiteral("Some Conversions Failed"),
                      QStringLiteral("%1 converted, %2 failed.").arg(Files(done)).arg(failed));
}

}  // namespace tavrin
