#include "lotsfixture.h"

#include "geocodepage.h"
#include "lotlisttab.h"
#include "lotsmap.h"
#include "mappagedata.h"
#include "mappages.h"
#include "mapserver.h"
#include "ui_lotlisttab.h"

#include <QFile>
#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace ravelin;

// The map pages: the lots map of "CARTE", the address page, and the local server that shows them.
class TestLotsMap : public QObject
{
    Q_OBJECT
    test::LotsFixture f;
    QTemporaryDir m_dir;
    QList<QUrl> m_urls;
    QStringList m_pages;

    // The markers of the last lots map opened, as "icon|title".
    QStringList markers()
    {
        QStringList out;
        const QJsonObject data = test::mapPageData(test::readPage(m_pages.last()));
        for (const QJsonValue &m : data.value(QStringLiteral("marqueurs")).toArray()) {
            const QJsonObject o = m.toObject();
            out << o.value(QStringLiteral("icone")).toString() + QLatin1Char('|') +
                       o.value(QStringLiteral("titre")).toString();
        }
        return out;
    }
    void addLot(int nLot, const QString &latitude, double standing, double felled, double skidded)
    {
        f.run(QStringLiteral("insert into coupe (n_lot, lieu, estimation, latitude, coupe_fini) "
                             "values (?, 'Ussel', 120.4, ?, 'NON')"),
              {nLot, latitude});
        f.run(QStringLiteral("insert into grume (N_lot, indice_lot, descriptif, qte_defaut, qte_livree_defaut, "
                             "sur_pied, abattage, debardage) values (?, 1, 'VOLUME', 100, 30.4, ?, ?, ?)"),
              {nLot, standing, felled, skidded});
    }
    QByteArray get(const QUrl &url, int *status)
    {
        QNetworkAccessManager network;
        QNetworkReply *reply = network.get(QNetworkRequest(url));
        QSignalSpy finished(reply, &QNetworkReply::finished);
        if (!finished.wait(5000)) return {};
        *status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QByteArray body = reply->readAll();
        reply->deleteLater();
        return body;
    }

private slots:
    void initTestCase()
    {
        f.open();
        QVERIFY(m_dir.isValid());
        f.context.applicationFolder = m_dir.path() + QLatin1Char('/');
        setMapPageOpener([this](const QUrl &url, const QString &page) {
            m_urls << url;
            m_pages << page;
            return true;
        });
    }
    void init()
    {
        f.clearTables();
        f.run(QStringLiteral("delete from destination"));
        f.run(QStringLiteral("update perso set centre_carte='46.603354,1.888334'"));
        m_urls.clear();
        m_pages.clear();
    }

    void lotsMapMarkers()
    {
        addLot(1, QStringLiteral("45.1,2.1"), 10, 5, 0); // standing wood
        addLot(2, QStringLiteral("45.2, 2.2"), 0, 5, 3); // felled
        addLot(3, QStringLiteral("45.3,2.3"), -1, 0, 3); // skidded
        addLot(4, QStringLiteral("45.4,2.4"), 0, 0, 0);  // nothing left: no marker
        addLot(5, QString(), 10, 0, 0);                  // no position
        addLot(6, QStringLiteral("abc"), 10, 0, 0);      // not a position
        addLot(7, QStringLiteral("95.0,2.0"), 10, 0, 0); // out of range
        f.run(QStringLiteral("insert into coupe (n_lot, lieu, latitude) values (8, 'Sans volume', '45.8,2.8')"));
        f.run(QStringLiteral("insert into destination (destination, client, cp, ville, latitude, stockage) values "
                             "('Plateforme', '', '58230', 'Montsauche', '47.2,4.0', 'OUI'), "
                             "('Parc', '', '21210', 'Saulieu', '47.3,4.2', 'BUCHE'), "
                             "('Court', '', '21210', 'Saulieu', '47.3', 'OUI'), "
                             "('Chaufferie', 'Dupont', '71400', 'Autun', '46.95,4.3', 'NON')"));
        LotListTab tab(f.context);
        tab.search();
        QVERIFY(tab.ui()->BtnCarte->isEnabled());
        tab.ui()->BtnCarte->click();
        // read on the list's worker: the button says so until the page opens
        QCOMPARE(tab.ui()->BtnCarte->text(), QStringLiteral("en cours..."));
        QTRY_VERIFY(!tab.isMapRunning());
        QCOMPARE(tab.ui()->BtnCarte->text(), QStringLiteral("CARTE"));
        QCOMPARE(m_pages, QStringList{m_dir.filePath(QStringLiteral("pointeurs.html"))});
        // the tab's order: lot numbers descending
        QCOMPARE(markers(), (QStringList{
                                "image/pointeur3.png|Ussel 120 m3  (Lot: 3) Qte restante : 70 m3",
                                "image/pointeur2.png|Ussel 120 m3  (Lot: 2) Qte restante : 70 m3",
                                "image/pointeur1.png|Ussel 120 m3  (Lot: 1) Qte restante : 70 m3",
                                "image/pointeur5.png| Sock PLAQUETTES FORESTIERES :58230 Montsauche",
                                "image/pointeur5.png| Sock BUCHES :21210 Saulieu",
                                "image/pointeur6.png| Client :Dupont 71400 Autun",
                            }));
        const QJsonObject data = test::mapPageData(test::readPage(m_pages.last()));
        QCOMPARE(data.value(QStringLiteral("centre")).toArray(), (QJsonArray{46.603354, 1.888334}));
        QCOMPARE(data.value(QStringLiteral("zoom")).toInt(), 9);

        // the centre is read at each click; a bad one gives the fixed position
        f.run(QStringLiteral("update perso set centre_carte='47,3'"));
        f.run(QStringLiteral("delete from coupe"));
        tab.search();
        tab.ui()->BtnCarte->click();
        QTRY_VERIFY(!tab.isMapRunning());
        QCOMPARE(test::mapPageData(test::readPage(m_pages.last())).value(QStringLiteral("centre")).toArray(),
                 (QJsonArray{47.0, 3.0}));
        QCOMPARE(markers().size(), 3); // zones and customers only
        f.run(QStringLiteral("update perso set centre_carte='quelque part'"));
        tab.ui()->BtnCarte->click();
        QTRY_VERIFY(!tab.isMapRunning());
        QCOMPARE(test::mapPageData(test::readPage(m_pages.last())).value(QStringLiteral("centre")).toArray(),
                 (QJsonArray{45.5882409, 5.608414000000039}));
    }

    void unwritableFolderIsSaid()
    {
        QTemporaryDir readOnly;
        QFile::setPermissions(readOnly.path(), QFile::ReadOwner | QFile::ExeOwner);
        const QString folder = f.context.applicationFolder;
        f.context.applicationFolder = readOnly.path() + QLatin1Char('/');
        LotListTab tab(f.context);
        tab.search();
        f.dialogs.clear();
        tab.ui()->BtnCarte->click();
        QTRY_VERIFY(!tab.isMapRunning());
        f.context.applicationFolder = folder;
        QFile::setPermissions(readOnly.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (m_pages.isEmpty()) { // root writes anywhere
            QVERIFY(f.dialogs.lastText().startsWith(QStringLiteral("Impossible d'écrire la page")));
        }
        QCOMPARE(tab.ui()->BtnCarte->text(), QStringLiteral("CARTE"));
    }

    void addressPageTexts()
    {
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        const QString address = QStringLiteral("L'Isle \"</script>\n& <b>\u2028");
        const auto path = writeGeocodingPage(f.context.applicationFolder, address);
        QLocale::setDefault(previous);
        QVERIFY(path);
        QFile file(*path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.contains("charset=\"utf-8\""));
        QVERIFY(bytes.contains("\r\n"));
        QVERIFY(!bytes.contains("</script>\n&"));
        const QString html = QString::fromUtf8(bytes);
        const QJsonObject data = test::mapPageData(html);
        QCOMPARE(data.value(QStringLiteral("adresse")).toString(), address);
        QCOMPARE(data.value(QStringLiteral("region")).toString(), QStringLiteral("FR"));
        QCOMPARE(data.value(QStringLiteral("zoom")).toInt(), 12);
        const QString centre = html.mid(html.indexOf(QStringLiteral("\"centre\":")), 40);
        QVERIFY2(centre.contains(QStringLiteral("45.5882409,5.608414000000039")), qPrintable(centre));
        for (const char *text : {"Adresse :", "id=\"aa\"", "recherche en cours..",
                                 "Latitude , Longitude :", "id=\"cc\"", "Adresse trouvée !", "Varnok : ", "erreur"})
            QVERIFY2(html.contains(QString::fromUtf8(text)), text);
        QCOMPARE(
            test::mapPageData(html, QStringLiteral("carte-reglages")).value(QStringLiteral("geocodeur")).toString(),
            defaultMapSettings().geocoderUrl);

        // the installation's setting
        QFile ini(m_dir.filePath(QStringLiteral("Serveur_config.INI")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[SERVEUR]\r\nhost=x\r\n[CARTE]\r\ntuiles=https://tuiles.example/{z}/{x}/{y}.png\r\n");
        ini.close();
        const QJsonObject settings =
            test::mapPageData(test::readPage(*writeGeocodingPage(f.context.applicationFolder, QStringLiteral("a"))),
                              QStringLiteral("carte-reglages"));
        QCOMPARE(settings.value(QStringLiteral("tuiles")).toString(),
                 QStringLiteral("https://tuiles.example/{z}/{x}/{y}.png"));
        QCOMPARE(settings.value(QStringLiteral("geocodeur")).toString(), defaultMapSettings().geocoderUrl);
        ini.remove();
    }

    void positions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("two decimals") << "45.5882409,5.608414000000039" << true;
        QTest::newRow("blanks and whole numbers") << " 47 , -3 " << true;
        QTest::newRow("decimal commas") << "45,5,5,6" << false;
        QTest::newRow("out of range") << "91,2" << false;
        QTest::newRow("one number") << "45.5" << false;
        QTest::newRow("script") << "1,2);alert(1" << false;
    }
    void positions()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(parseMapPosition(text).has_value(), valid);
    }

    void servedPages()
    {
        QVERIFY(writeGeocodingPage(f.context.applicationFolder, QStringLiteral("Autun")));
        QVERIFY(showMapPage(f.context.applicationFolder, m_dir.filePath(QStringLiteral("terrain.html"))));
        const QUrl url = m_urls.last();
        QCOMPARE(url.host(), QStringLiteral("127.0.0.1"));
        int status = 0;
        const QByteArray page = get(url, &status);
        QCOMPARE(status, 200);
        QVERIFY(page.contains("Adresse trouvée !"));
        // nothing is loaded from elsewhere: every script is the page's own or served beside it
        QVERIFY(!page.contains("<script src=\"http"));
        QVERIFY(!page.contains("href=\"http"));
        const QByteArray leaflet = get(url.resolved(QUrl(QStringLiteral("leaflet/leaflet.js"))), &status);
        QCOMPARE(status, 200);
        QVERIFY(leaflet.contains("Leaflet"));
        get(url.resolved(QUrl(QStringLiteral("image/pointeur5.png"))), &status);
        QCOMPARE(status, 200);
        for (const QString &other : {QStringLiteral("Serveur_config.INI"), QStringLiteral("../terrain.html"),
                                     QStringLiteral("/terrain.html")}) {
            get(url.resolved(QUrl(other)), &status);
            QCOMPARE(status, 404);
        }
        QUrl noToken = url;
        noToken.setPath(QStringLiteral("/terrain.html"));
        get(noToken, &status);
        QCOMPARE(status, 404);
    }
};

QTEST_MAIN(TestLotsMap)
#include "tst_lotsmap.moc"
