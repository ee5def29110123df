// The source list: its tool buttons (add, remove, clear), the list of rows with their cells,
// adding files through the dialog or by dropping them, probing each into its row, the
// list's pop-up menu and each row's log and failure reason.
#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;
class QToolButton;
class QTreeWidgetItem;
class QWidget;

namespace tavrin {

class TDialogs;
class TFFmpegEngine;
class TSourceList;

class TListPart final : public QObject {
    Q_OBJECT

public:
    // window parents the dialogs and the pop-up menu; converting tells whether a batch runs;
    // outputExtension is the chosen profile's key, which new rows show; outputFolder is
    // where the converted files go.
    TListPart(QWidget& window, TDialogs& dialogs, TFFmpegEngine& engine,
              std::function<bool()> converting, std::function<QString()> outputExtension,
              std::function<QString()> outputFolder);

    // Where the window places the list and the tool buttons.
    QWidget* ListPanel() const { return panel_; }
    QList<QToolButton*> ToolButtons() const;

    // Probes each path and appends its row (the add-file procedure after its dialog).
    void AddFilesProcedure(const QStringList& paths);
    // Files and folders dropped on the list, added like chosen files.
    void AddDroppedPaths(const QStringList& paths);
    bool Adding() const { return adding_; }
    // The window is closing: a running add stops after the file it probes.
    void StopAdding() { closing_ = true; }

    // Rows and their cells.
    int RowCount() const;
    QTreeWidgetItem* Row(int index) const;
    QString Cell(int row, int column) const;
    void SetCell(int row, int column, const QString& text);
    int SelectedRow() const;  // -1 without a selection; the first of several
    QList<int> SelectedRows() const;  // in list order
    void ScrollTo(int row);
    // Every row's "Output" cell.
    void SetOutputColumn(const QString& extension);
    // Statuses of an earlier batch go, and with them their reasons and logs.
    void ClearProgressCells();

    // The engine's log lines and failure reason collected for a row.
    QStringList RowLog(int row) const;
    void AppendRowLog(int row, const QString& line);
    void SetRowFailure(int row, const QString& reason);
    // The file a row was converted to, which "Show in Folder" shows; "" when none.
    void SetRowOutput(int row, const QString& path);
    QString RowOutput(int row) const;

    // A batch switches off the buttons and the pop-up menu.
    void SetControlsEnabled(bool enabled);
    bool PopupMenuAutomatic() const { return popupAutomatic_; }

    // "File > Add Files": a click on Add File, which a batch has switched off.
    void TriggerAddFile();

    // Handlers.
    void ButtonAddFileClick();
    void CheckAllItems1Click();
    void UncheckAllItems1Click();
    void DeleteSelectedItem1Click();
    void ClearAllItems1Click();
    void ViewLog1Click();
    void OpenOutputFolder1Click();
    void ShowInFolder1Click();
    void RemoveFinishedRows1Click();
    void SelectAllRows();

signals:
    // Files are about to be added: the preview lets go of what it plays.
    void AddingStarts();
    // "Play Selected File" in the pop-up menu.
    void PlayRequested();
    void SelectionChanged();

private:
    void BuildWidgets();
    void BuildPopupMenu();
    void AddFilesFromDialogOrDrop(const QStringList* dropped);
    void AppendProbedRow(const QString& path);
    void RemoveRows(const QList<int>& rows);
    void OpenFolder(const QString& folder);
    // Several rows selected: checking or unchecking one of them does the same to the others.
    void CheckStateChanged(QTreeWidgetItem* item, int column);

    QWidget& window_;
    TDialogs& dialogs_;
    TFFmpegEngine& engine_;
    std::function<bool()> converting_;
    std::function<QString()> outputExtension_;
    std::function<QString()> outputFolder_;

    QWidget* panel_ = nullptr;
    TSourceList* ListView1 = nullptr;
    QToolButton* ButtonAddFile = nullptr;
    QToolButton* ButtonRemove = nullptr;
    QToolButton* ButtonClear = nullptr;
    QMenu* PopupListView1 = nullptr;
    QAction* CheckAllItems1 = nullptr;
    QAction* UncheckAllItems1 = nullptr;
    QAction* DeleteSelectedItem1 = nullptr;
    QAction* ClearAllItems1 = nullptr;
    QAction* PlaySelectedFile1 = nullptr;
    QAction* ViewLog1 = nullptr;
    QAction* OpenOutputFolder1 = nullptr;
    QAction* ShowInFolder1 = nullptr;
    QAction* RemoveFinishedRows1 = nullptr;
    QAction* SelectAllRows1 = nullptr;

    QString openDialogFilter_;
    bool adding_ = false;
    bool closing_ = false;
    bool popupAutomatic_ = true;
    bool spreadingCheck_ = false;
    quint64 nextRowId_ = 1;
    QHash<quint64, QStringList> rowLogs_;
};

}  // namespace tavrin
