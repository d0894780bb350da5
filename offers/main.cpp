// Starts the offer calculators on their own, on the data folder of this platform. With --kinds it
// prints the offers' tokens, one per line in the order of the tabs, and opens no window.
#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QIcon>

#include "calc/offertable.h"
#include "offers/offerswindow.h"
#include "store/datafolder.h"

int main(int argc, char *argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--kinds") == 0) {
        for (const calc::OfferDefinition *offer : calc::offerTable())
            std::printf("%.*s\n", int(offer->token.size()), offer->token.data());
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantrel Offer Calculators"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/offers/org.vantrel.VantrelOffers.png")));
    offers::OffersWindow window(store::defaultDataFolder());
    window.show();
    return app.exec();
}
