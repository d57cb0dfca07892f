#include "contractors.h"

#include "counters.h"
#include "formats.h"
#include "sql.h"

namespace ravelin {

namespace {

QVariant nullIfEmpty(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

QVariant costOrNull(const QVariant &cost)
{
    return cost.isNull() ? QVariant(QMetaType(QMetaType::Double)) : QVariant(cost.toDouble());
}

// Taken first by every write that tests a name or a password before writing: the counter row,
// locked until the transaction ends, makes two workstations' test-then-write follow each other.
Status lockCounterRow(QSqlDatabase db, Counter counter, std::source_location location = std::source_location::current())
{
    QSqlQuery q(db);
    return exec(q, QStringLiteral("select %1 from increment for update").arg(counterColumn(counter)), {}, location);
}

Status checkContractor(const Contractor &c, std::source_location location = std::source_location::current())
{
    if (c.societe.trimmed().isEmpty()) return Error::refusal(QStringLiteral("Vous devez saisir une société"), location);
    if (c.famille.trimmed().isEmpty()) return Error::refusal(QStringLiteral("Vous devez saisir une famille"), location);
    return {};
}

Status checkContact(const Contact &c, std::source_location location = std::source_location::current())
{
    if (c.nom.trimmed().isEmpty()) return Error::refusal(QStringLiteral("Vous devez saisir un nom"), location);
    return {};
}

Status refuseTakenPassword(QSqlDatabase db, const Contact &c,
                           std::source_location location = std::source_location::current())
{
    auto taken = contactPasswordTaken(db, c.password, c.inc);
    if (!taken) return taken.error();
    if (*taken) return Error::refusal(contactPasswordExistsMessage(), location);
    return {};
}

} // namespace

PagedQuery searchContractors(const QString &numberText, const QString &familyText, ContractorSort sort)
{
    PagedQuery q;
    q.columns = QStringLiteral("num_intervenant_possible,societe,famille_intervenant,cout_tonne,cout_heure,"
                               "cout_surface,cout_volume,cout_stere");
    q.from = QStringLiteral("intervenant_possible");
    q.where = QStringLiteral("num_intervenant_possible>0");
    if (!numberText.isEmpty()) {
        q.where += QStringLiteral(" and num_intervenant_possible like ?");
        q.values << QStringLiteral("%") + numberText + QStringLiteral("%");
    }
    if (!familyText.isEmpty()) {
        q.where += QStringLiteral(" and famille_intervenant like ?");
        q.values << QStringLiteral("%") + familyText + QStringLiteral("%");
    }
    // the counter hands every contractor its own number: it tells two of the same company apart
    q.key = QStringLiteral("num_intervenant_possible");
    q.orderBy = {sort == ContractorSort::BySociete ? QStringLiteral("societe") : QStringLiteral("famille_intervenant")};
    return q;
}

Result<Contractor> readContractor(QSqlDatabase db, int number)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s =
            exec(q,
                 QStringLiteral("select num_intervenant_possible,societe,famille_intervenant,cout_tonne,cout_heure,"
                                "cout_volume,cout_surface,cout_stere,commentaire,pefc "
                                "from intervenant_possible where num_intervenant_possible=?"),
                 {number});
        !s)
        return s.error();
    if (!q.next())
        return Error::notFound(QStringLiteral("Cet intervenant n'existe plus : un autre poste l'a supprimé."));
    Contractor c;
    c.number = q.value(0).toInt();
    c.societe = q.value(1).toString();
    c.famille = q.value(2).toString();
    c.coutTonne = q.value(3);
    c.coutHeure = q.value(4);
    c.coutVolume = q.value(5);
    c.coutSurface = q.value(6);
    c.coutStere = q.value(7);
    c.commentaire = q.value(8).toString();
    c.pefc = q.value(9).toString();
    return c;
}

Result<int> createContractor(QSqlDatabase db, const Contractor &contractor)
{
    if (Status s = checkContractor(contractor); !s) return s.error();
    int number = 0;
    Status done = inTransaction(db, [&]() -> Status {
        if (Status s = lockCounterRow(db, Counter::NumIntervenantPossible); !s) return s;
        auto existing =
            scalar(db, QStringLiteral("Select societe from intervenant_possible where societe=? for update"),
                   {contractor.societe});
        if (!existing) return existing.error();
        if (existing->isValid()) return Error::refusal(companyNameExistsMessage());
        auto taken = takeNextCounter(db, Counter::NumIntervenantPossible);
        if (!taken) return taken.error();
        number = *taken;
        auto inserted = execute(db,
                                QStringLiteral("insert into intervenant_possible (num_intervenant_possible,societe,"
                                               "famille_intervenant,cout_tonne,cout_heure,cout_volume,cout_surface,"
                                               "cout_stere,commentaire,pefc) values (?,?,?,?,?,?,?,?,?,?)"),
                                {number, contractor.societe, contractor.famille, costOrNull(contractor.coutTonne),
                                 costOrNull(contractor.coutHeure), costOrNull(contractor.coutVolume),
                                 costOrNull(contractor.coutSurface), costOrNull(contractor.coutStere),
                                 nullIfEmpty(contractor.commentaire), nullIfEmpty(contractor.pefc)});
        if (!inserted) return inserted.error();
        return {};
    });
    if (!done) return done.error();
    return number;
}

Status updateContractor(QSqlDatabase db, const Contractor &contractor)
{
    if (Status s = checkContractor(contractor); !s) return s;
    return inTransaction(db, [&]() -> Status {
        auto found = scalar(db,
                            QStringLiteral("select num_intervenant_possible from intervenant_possible "
                                           "where num_intervenant_possible=? and societe=? for update"),
                            {contractor.number, contractor.societe});
        if (!found) return found.error();
        if (!found->isValid())
            return Error::notFound(QStringLiteral("Cet intervenant n'existe plus : un autre poste l'a supprimé."));
        auto updated = execute(
            db,
            QStringLiteral("update intervenant_possible set famille_intervenant=?,cout_tonne=?,"
                           "cout_heure=?,cout_volume=?,cout_surface=?,cout_stere=?,commentaire=?,pefc=? "
                           "where num_intervenant_possible=? and societe=?"),
            {contractor.famille, costOrNull(contractor.coutTonne), costOrNull(contractor.coutHeure),
             costOrNull(contractor.coutVolume), costOrNull(contractor.coutSurface), costOrNull(contractor.coutStere),
             nullIfEmpty(contractor.commentaire), nullIfEmpty(contractor.pefc), contractor.number, contractor.societe});
        if (!updated) return updated.error();
        return {};
    });
}

Status deleteContractor(QSqlDatabase db, int number, const QString &societe)
{
    return inTransaction(db, [&]() -> Status {
        auto contacts = execute(db, QStringLiteral("Delete from contact where num_intervenant_possible=?"), {number});
        if (!contacts) return contacts.error();
        auto row = execute(
            db, QStringLiteral("Delete from intervenant_possible where num_intervenant_possible=? and societe=?"),
            {number, societe});
        if (!row) return row.error();
        return {};
    });
}

PagedQuery contactsOf(int contractor)
{
    PagedQuery q;
    q.columns = QStringLiteral("A.inc,A.num_contact,A.civilite,A.Nom as nom,A.prenom,A.portable,A.tel as Tel,"
                               "A.fonction as Fonction,A.email,A.Divers");
    q.from = QStringLiteral("contact A");
    q.where = QStringLiteral("A.num_intervenant_possible=?");
    q.values = {contractor};
    q.orderBy = {QStringLiteral("nom"), QStringLiteral("prenom")};
    return q;
}

Result<Contact> readContact(QSqlDatabase db, int inc)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (Status s =
            exec(q,
                 QStringLiteral("select inc,num_contact,num_intervenant_possible,civilite,Nom,prenom,tel,portable,"
                                "fax,email,fonction,Divers,password from contact where inc=?"),
                 {inc});
        !s)
        return s.error();
    if (!q.next()) return Error::notFound(QStringLiteral("Ce contact n'existe plus : un autre poste l'a supprimé."));
    Contact c;
    c.inc = q.value(0).toInt();
    c.numContact = q.value(1).toInt();
    c.contractor = q.value(2).toInt();
    c.civilite = q.value(3).toString();
    c.nom = q.value(4).toString();
    c.prenom = q.value(5).toString();
    c.tel = q.value(6).toString();
    c.portable = q.value(7).toString();
    c.fax = q.value(8).toString();
    c.email = q.value(9).toString();
    c.fonction = q.value(10).toString();
    c.divers = q.value(11).toString();
    c.password = q.value(12).toString();
    return c;
}

Result<bool> contactPasswordTaken(QSqlDatabase db, const QString &password, int inc)
{
    if (password.isEmpty()) return false;
    auto found =
        scalar(db, QStringLiteral("select password from contact where password=? and inc<>?"), {password, inc});
    if (!found) return found.error();
    return found->isValid();
}

Result<Contact> createContact(QSqlDatabase db, const Contact &contact)
{
    if (Status s = checkContact(contact); !s) return s.error();
    Contact written = contact;
    written.inc = 0;
    Status done = inTransaction(db, [&]() -> Status {
        if (Status s = lockCounterRow(db, Counter::NumContact); !s) return s;
        if (Status s = refuseTakenPassword(db, written); !s) return s;
        auto number = takeNextCounter(db, Counter::NumContact);
        if (!number) return number.error();
        written.numContact = *number;
        QSqlQuery q(db);
        if (Status s =
                exec(q,
                     QStringLiteral("insert into contact (num_contact,num_intervenant_possible,civilite,Nom,prenom,tel,"
                                    "portable,fax,email,fonction,Divers,password) values (?,?,?,?,?,?,?,?,?,?,?,?)"),
                     {written.numContact, written.contractor, nullIfEmpty(written.civilite), written.nom,
                      nullIfEmpty(written.prenom), nullIfEmpty(written.tel), nullIfEmpty(written.portable),
                      nullIfEmpty(written.fax), nullIfEmpty(written.email), nullIfEmpty(written.fonction),
                      nullIfEmpty(written.divers), nullIfEmpty(written.password)});
            !s)
            return s;
        written.inc = q.lastInsertId().toInt();
        return {};
    });
    if (!done) return done.error();
    return written;
}

Status updateContact(QSqlDatabase db, const Contact &contact)
{
    if (Status s = checkContact(contact); !s) return s;
    return inTransaction(db, [&]() -> Status {
        if (Status s = lockCounterRow(db, Counter::NumContact); !s) return s;
        auto found = scalar(db, QStringLiteral("select inc from contact where inc=? for update"), {contact.inc});
        if (!found) return found.error();
        if (!found->isValid())
            return Error::notFound(QStringLiteral("Ce contact n'existe plus : un autre poste l'a supprimé."));
        if (Status s = refuseTakenPassword(db, contact); !s) return s;
        auto updated = execute(
            db,
            QStringLiteral("update contact set civilite=?,Nom=?,prenom=?,tel=?,portable=?,fax=?,email=?,"
                           "fonction=?,Divers=?,password=? where inc=?"),
            {nullIfEmpty(contact.civilite), contact.nom, nullIfEmpty(contact.prenom), nullIfEmpty(contact.tel),
             nullIfEmpty(contact.portable), nullIfEmpty(contact.fax), nullIfEmpty(contact.email),
             nullIfEmpty(contact.fonction), nullIfEmpty(contact.divers), nullIfEmpty(contact.password), contact.inc});
        if (!updated) return updated.error();
        return {};
    });
}

Status deleteContact(QSqlDatabase db, int inc)
{
    auto removed = execute(db, QStringLiteral("Delete from contact where inc=?"), {inc});
    if (!removed) return removed.error();
    return {};
}

PagedQuery contractorActions(const QString &societe, const QDate &start, const QDate &end)
{
    static const QList<QPair<QString, QString>> sources = {
        {QStringLiteral("LIV. GRUME"), QStringLiteral("liste_action_cde")},
        {QStringLiteral("LIV. PLAQUETTE"), QStringLiteral("liste_action_liv")},
        {QStringLiteral("TRANSFERT"), QStringLiteral("liste_action_transfert")},
        {QStringLiteral("COUPE"), QStringLiteral("intervention")},
    };
    QStringList selects;
    for (const auto &[kind, table] : sources)
        selects << QStringLiteral("SELECT fac_fournisseur,('%1') as a, i_nom as b, N_lot as c, Indice_lot as d, "
                                  "i_date as e, CONVERT(qte_action, SIGNED INTEGER) as f, i_cout as g, (0) as h, "
                                  "type1 as i, unite_action as j, inc FROM %2"
                                  " where qte_action is not null")
                       .arg(kind, table);
    PagedQuery q;
    q.columns = QStringLiteral("fac_fournisseur,a,b,c,d,e,f,g,h,i,j,inc");
    q.from = QStringLiteral("(") + selects.join(QStringLiteral(" union all ")) + QStringLiteral(") as actions");
    // The server pushes these conditions down into each select, where the indexes on i_nom and
    // i_date serve them. The company name is compared as a value: a name holding '%' or '_' matches
    // only itself.
    q.where = QStringLiteral("b = ? and e>=? and e<=?");
    q.values = {societe, sqlDate(start), sqlDate(end)};
    // most recent first; a row is told apart by its table (the kind) and its key there
    q.orderBy = {QStringLiteral("e desc"), QStringLiteral("a")};
    q.key = QStringLiteral("inc");
    return q;
}

} // namespace ravelin
