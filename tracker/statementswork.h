// The statements' work off the user-interface thread: importing files into the statements folder,
// reading it, and reconciling what it holds with the bets, down to the rows the Statements tab
// shows. One thing at a time, in the order asked; a reconciling that a later one supersedes before
// it starts is dropped, and only the latest one's result is handed back. The folder is looked at
// every two seconds, so that a statement copied there or deleted by hand is seen as the other files'
// changes are.
#pragma once

#include <atomic>
#include <memory>

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include "tracker/statementrows.h"

namespace history {

// What the Statements tab and the Accounts tab show, worked out together.
struct ReconciledStatements
{
    std::shared_ptr<const store::StatementsRead> files;
    std::shared_ptr<const Reconciliation> result;
    std::vector<StatementRow> rows;
    QStringList uncovered; // date, event, exchange and profit of each settled bet no line covers
};

class StatementsWork final : public QObject
{
    Q_OBJECT

public:
    static constexpr int uncoveredColumns = 4;

    explicit StatementsWork(const QString &dataFolder, QObject *parent = nullptr);
    ~StatementsWork() override;

    // Copies the files into the statements folder; imported() follows.
    void import(const QStringList &paths);
    // Reconciles the statements with the bets as the view and the ledger's account lines have them,
    // reading the folder again first when asked (or when it was never read); reconciled() follows.
    // Nothing is done while no statement was ever found.
    void reconcile(const HistoryView &view, const AccountLines &accountLines, bool readFolder = false);
    // True when the folder holds statements, or held them when last read.
    bool hasStatements() const { return m_files && (!m_files->files.empty() || !m_files->problems.isEmpty()); }

signals:
    // failures: "file: why" for each file not imported; unnamed: the formats imported whose
    // account was never named.
    void imported(const QStringList &failures, const std::vector<store::StatementFormat> &unnamed);
    void reconciled(const std::shared_ptr<const ReconciledStatements> &shown);
    // The statements folder changed on the disk.
    void folderChanged();

private:
    // The names, sizes and times of change of the folder's files, which tell one state of it from another.
    QString folderStamp() const;
    void lookAtFolder();

    QString m_dataFolder;
    QThreadPool m_worker;
    std::shared_ptr<std::atomic<int>> m_latest = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<const store::StatementsRead> m_files; // as last read
    QTimer m_look;
    QString m_stamp;
};

} // namespace history
