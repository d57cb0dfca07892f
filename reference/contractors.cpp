#include "contractors.h"

#include "counters.h"
#include "formats.h"
#include "searchpattern.h"
#include "sql.h"
#include "statements.h"

#include <QSqlRecord>

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
Status lockCounterRow(QSqlDatabase db, Counter counter, SourceLocation location = SourceLocation::current())
{
    QSqlQuery q(db);
    return exec(q, QStringLiteral("select %1 from increment for update").arg(counterColumn(counter)), {}, location);
}

Status checkContractor(const Contractor &c, SourceLocation location = SourceLocation::current())
{
    if (c.societe.trimmed().isEmpty()) return Error::refusal(QStringLiteral("Vous devez saisir une société"), location);
    if (c.famille.trimmed().isEmpty()) return Error::refusal(QStringLiteral("Vous devez saisir une famille"), location);
    return {};
}

Status checkContact(const Contact &c, SourceLocation location = SourceLocation::current())
{
    if (c.nom.trimmed().isEmpty()) return Error::refusal(QStringLiteral("Vous devez saisir un nom"), location);
    return {};
}

// Every column of a read row by name.
QVariantMap storedValues(const QSqlRecord &record)
{
    QVariantMap values;
    for (int i = 0; i < record.count(); ++i) values.insert(record.fieldName(i), record.value(i));
    return values;
}

// One text field of an editor: the value as read (from `stored` when the row was read, else the
// text the editor was given) and the value to write. A field left as it was gives back the value
// read, so that an empty text and a null stay as the row holds them.
ColumnChange textChange(const QVariantMap &stored, const QString &column, const QString &asRead, const QString &typed,
                        const QString &caption, bool nullable = true)
{
    const QVariant read = stored.contains(column) ? stored.value(column) : nullIfEmpty(asRead);
    if (typed == asRead) return {column, read, read, caption};
    return {column, read, nullable ? nullIfEmpty(typed) : QVariant(typed), caption};
}

ColumnChange costChange(const QVariantMap &stored, const QString &column, const QVariant &asRead, const QVariant &typed,
                        const QString &caption)
{
    const QVariant read = stored.contains(column) ? stored.value(column) : costOrNull(asRead);
    return {column, read, costOrNull(typed), caption};
}

Status refuseTakenPassword(QSqlDatabase db, const Contact &c, SourceLocation location = SourceLocation::current())
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
        q.values << containsPattern(numberText);
    }
    if (!familyText.isEmpty()) {
        q.where += QStringLiteral(" and famille_intervenant like ?");
        q.values << containsPattern(familyText);
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
    c.stored = storedValues(q.record());
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

Status updateContractor(QSqlDatabase db, const Contractor &asRead, const Contractor &contractor)
{
    if (Status s = checkContractor(contractor); !s) return s;
    const QVariantMap &stored = asRead.stored;
    const QList<ColumnChange> changes{
        textChange(stored, QStringLiteral("famille_intervenant"), asRead.famille, contractor.famille,
                   QStringLiteral("Famille"), false),
        costChange(stored, QStringLiteral("cout_tonne"), asRead.coutTonne, contractor.coutTonne,
                   QStringLiteral("Coût tonne")),
        costChange(stored, QStringLiteral("cout_heure"), asRead.coutHeure, contractor.coutHeure,
                   QStringLiteral("Coût heure")),
        costChange(stored, QStringLiteral("cout_volume"), asRead.coutVolume, contractor.coutVolume,
                   QStringLiteral("Coût / m3")),
        costChange(stored, QStringLiteral("cout_surface"), asRead.coutSurface, contractor.coutSurface,
                   QStringLiteral("Coût / Are")),
        costChange(stored, QStringLiteral("cout_stere"), asRead.coutStere, contractor.coutStere,
                   QStringLiteral("Coût / Stère")),
        textChange(stored, QStringLiteral("commentaire"), asRead.commentaire, contractor.commentaire,
                   QStringLiteral("Commentaire")),
        textChange(stored, QStringLiteral("pefc"), asRead.pefc, contractor.pefc, QStringLiteral("N° adhérent PEFC"))};
    // Two rows may share a number (rows written by an older program): the row is the number and
    // the company name together, so the save locks it and compares the columns it changes itself.
    QList<ColumnChange> changed;
    QStringList columns;
    for (const ColumnChange &c : changes)
        if (!sameStoredValue(c.asRead, c.value)) {
            changed << c;
            columns << c.column;
        }
    return inTransaction(db, [&]() -> Status {
        QSqlQuery q(db);
        if (Status s = exec(q,
                            QStringLiteral("select num_intervenant_possible%1 from intervenant_possible "
                                           "where num_intervenant_possible=? and societe=? for update")
                                .arg(columns.isEmpty() ? QString() : QLatin1Char(',') + columns.join(QLatin1Char(','))),
                            {contractor.number, asRead.societe});
            !s)
            return s;
        // A save that changes nothing still needs the contractor to be there to stand.
        if (!q.next()) return Error::notFound(recordDeletedMessage());
        if (changed.isEmpty()) return {};
        QStringList differing;
        QStringList sets;
        QVariantList values;
        for (qsizetype i = 0; i < changed.size(); ++i) {
            if (!sameStoredValue(q.value(int(i) + 1), changed[i].asRead)) differing << changed[i].caption;
            sets << changed[i].column + QStringLiteral("=?");
            values << changed[i].value;
        }
        if (!differing.isEmpty()) return Error::changedElsewhere(recordChangedMessage(differing));
        auto updated = execute(db,
                               QStringLiteral("update intervenant_possible set %1 "
                                              "where num_intervenant_possible=? and societe=?")
                                   .arg(sets.join(QLatin1Char(','))),
                               values + QVariantList{contractor.number, asRead.societe});
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
    c.stored = storedValues(q.record());
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

Status updateContact(QSqlDatabase db, const Contact &asRead, const Contact &contact)
{
    if (Status s = checkContact(contact); !s) return s;
    const QVariantMap &stored = asRead.stored;
    const QList<ColumnChange> changes{
        textChange(stored, QStringLiteral("civilite"), asRead.civilite, contact.civilite, QStringLiteral("Civil.")),
        textChange(stored, QStringLiteral("Nom"), asRead.nom, contact.nom, QStringLiteral("nom"), false),
        textChange(stored, QStringLiteral("prenom"), asRead.prenom, contact.prenom, QStringLiteral("prénom")),
        textChange(stored, QStringLiteral("tel"), asRead.tel, contact.tel, QStringLiteral("Tel")),
        textChange(stored, QStringLiteral("portable"), asRead.portable, contact.portable, QStringLiteral("Portable")),
        textChange(stored, QStringLiteral("fax"), asRead.fax, contact.fax, QStringLiteral("Fax")),
        textChange(stored, QStringLiteral("email"), asRead.email, contact.email, QStringLiteral("Email")),
        textChange(stored, QStringLiteral("fonction"), asRead.fonction, contact.fonction, QStringLiteral("Fonction")),
        textChange(stored, QStringLiteral("Divers"), asRead.divers, contact.divers, QStringLiteral("Divers")),
        textChange(stored, QStringLiteral("password"), asRead.password, contact.password, QStringLiteral("Password"))};
    return inTransaction(db, [&]() -> Status {
        if (Status s = lockCounterRow(db, Counter::NumContact); !s) return s;
        auto found = scalar(db, QStringLiteral("select inc from contact where inc=? for update"), {contact.inc});
        if (!found) return found.error();
        if (!found->isValid()) return Error::notFound(recordDeletedMessage());
        if (Status s = refuseTakenPassword(db, contact); !s) return s;
        return updateRow(db, QStringLiteral("contact"), QStringLiteral("inc"), contact.inc, changes);
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
    PagedQuery q;
    // Each select keeps its own conditions, where the indexes on i_nom and i_date serve them: the
    // server does not always carry a condition on the union down into its selects. Their marks
    // come before the list's own condition in every statement, and so do their values here. The
    // company name is compared as a value: a name holding '%' or '_' matches only itself.
    QStringList selects;
    for (const auto &[kind, table] : sources) {
        selects << QStringLiteral("SELECT fac_fournisseur,('%1') as a, i_nom as b, N_lot as c, Indice_lot as d, "
                                  "i_date as e, CONVERT(qte_action, SIGNED INTEGER) as f, i_cout as g, (0) as h, "
                                  "type1 as i, unite_action as j, inc FROM %2"
                                  " where i_nom = ?"
                                  " and qte_action is not null"
                                  " and i_date>=?"
                                  " and i_date<=?")
                       .arg(kind, table);
        q.values << societe << sqlDate(start) << sqlDate(end);
    }
    q.columns = QStringLiteral("fac_fournisseur,a,b,c,d,e,f,g,h,i,j,inc");
    q.from = QStringLiteral("(") + selects.join(QStringLiteral(" union all ")) + QStringLiteral(") as actions");
    q.where = QStringLiteral("b = ?");
    q.values << societe;
    // most recent first; a row is told apart by its table (the kind) and its key there
    q.orderBy = {QStringLiteral("e desc"), QStringLiteral("a")};
    q.key = QStringLiteral("inc");
    return q;
}

} // namespace ravelin
