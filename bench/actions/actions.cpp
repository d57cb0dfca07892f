// The benchmark's table of user actions, gathered from each subsystem's file. Each row names the
// action as the user knows it, runs it through the program's own operations and screens, and gives
// the SQL the mariadb client runs for the same rows. A new subsystem adds its file and its section
// here (see bench/README.md, "Adding an action").
#include "benchaction.h"

namespace ravelin::bench {

namespace {

const QList<BenchSection> &sections()
{
    static const QList<BenchSection> all{startupSection(), lotSection(),      referenceSection(),
                                         orderSection(),   deliverySection(), stockSection(),
                                         invoiceSection(), importSection(),   printSection()};
    return all;
}

} // namespace

const QList<BenchParameter> &benchParameters()
{
    static const QList<BenchParameter> parameters = [] {
        QList<BenchParameter> list;
        for (const BenchSection &s : sections()) list += s.parameters;
        return list;
    }();
    return parameters;
}

const QList<BenchAction> &benchActions()
{
    static const QList<BenchAction> actions = [] {
        QList<BenchAction> list;
        for (const BenchSection &s : sections()) list += s.actions;
        return list;
    }();
    return actions;
}

} // namespace ravelin::bench
