#include "historywindowtest.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>

#include "calc/numbertext.h"
#include "calc/offers.h"
#include "store/offerfile.h"

QString shown(const QTableView *table, int row, int column)
{
    return table->model()->data(table->model()->index(row, column)).toString();
}

std::unique_ptr<history::HistoryWindow> HistoryWindowTest::openHistory() const
{
    auto window = std::make_unique<history::HistoryWindow>(
        m_ui->folder(), [this](const QString &text) { m_ui->messages << text; });
    window->show();
    waitForLoad(*window);
    return window;
}

void HistoryWindowTest::archiveRefundOffer() const
{
    const calc::OfferValues refund {
        {"backStake", 20}, {"backOdds", 5}, {"layOdds", 5.2}, {"layCommission", 2}, {"refund", 20}, {"retention", 75}};
    const calc::OfferValues figures = *calc::offerFigures(calc::BetKind::Refund, refund);
    const auto [lowest, highest] = calc::outcomeRange(calc::BetKind::Refund, refund, figures);
    store::NamedTexts archived;
    for (const auto &[key, figure] : figures)
        archived.emplace_back(key, calc::formatMoney(figure).toLatin1());
    store::appendOffer(m_ui->folder(),
        {QDateTime(QDate(2026, 12, 4), QTime(18, 0)), "refund", "Ascot 3:35", "Coral", 20,
            calc::formatMoney(lowest).toLatin1(), calc::formatMoney(highest).toLatin1(), {refund.begin(), refund.end()},
            archived});
}

void HistoryWindowTest::waitForLoad(history::HistoryWindow &window)
{
    QSignalSpy loaded(&window, &history::HistoryWindow::loaded);
    if (window.isLoading())
        QVERIFY(loaded.wait());
}

QString HistoryWindowTest::text(const history::HistoryWindow &window, const char *label)
{
    return window.findChild<QLabel *>(label)->text();
}

int HistoryWindowTest::rows(const history::HistoryWindow &window)
{
    return window.findChild<QTableView *>(QStringLiteral("records"))->model()->rowCount();
}

QStringList HistoryWindowTest::items(const history::HistoryWindow &window, const char *comboBox)
{
    const auto *box = window.findChild<QComboBox *>(comboBox);
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

QString HistoryWindowTest::cell(const history::HistoryWindow &window, int row, history::Column column)
{
    const QAbstractItemModel *model = window.findChild<QTableView *>(QStringLiteral("records"))->model();
    return model->data(model->index(row, int(column))).toString();
}

QAction *HistoryWindowTest::menuAction(history::HistoryWindow &window, const QList<int> &rows, const QString &path)
{
    auto *table = window.findChild<QTableView *>(QStringLiteral("records"));
    table->clearSelection();
    for (const int row : rows)
        table->selectionModel()->select(
            table->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    emit table->customContextMenuRequested(QPoint(5, 5));
    QMenu *at = window.findChild<QMenu *>(QStringLiteral("betMenu"));
    if (!at)
        return nullptr;
    QAction *found = nullptr;
    for (const QString &step : path.split(QLatin1Char('/'))) {
        const QList<QAction *> actions = at->actions();
        const auto action = std::find_if(actions.begin(), actions.end(),
            [&](QAction *a) { return a->text().remove(QLatin1Char('&')).startsWith(step); });
        if (action == actions.end())
            return nullptr;
        found = *action;
        at = found->menu();
    }
    return found;
}

void HistoryWindowTest::choose(history::HistoryWindow &window, const QList<int> &rows, const QString &path)
{
    QAction *action = menuAction(window, rows, path);
    QVERIFY2(action, qPrintable(path));
    action->trigger();
    closeBetMenu(window);
}

void HistoryWindowTest::closeBetMenu(history::HistoryWindow &window)
{
    window.findChild<QMenu *>(QStringLiteral("betMenu"))->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the menu goes with its choices
}
