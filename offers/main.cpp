// Starts the offer calculators on their own, on the data folder of this platform.
#include <QApplication>
#include <QIcon>

#include "offers/offerswindow.h"
#include "store/datafolder.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel Offer Calculators"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/offers/org.vantrel.VantrelOffers.png")));
    offers::OffersWindow window(store::defaultDataFolder());
    window.show();
    return app.exec();
}
