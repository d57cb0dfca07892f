#pragma once

#include "result.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace ravelin {

// One node of a parsed expression.
struct ExprNode
{
    enum class Kind { Constant, Column, Name, Call, Unary, Binary };
    Kind kind = Kind::Constant;
    QVariant constant;
    QString dataset; // Column: the data set, lower case
    QString name;    // Column: the column; Name: the named value; Call: the function, lower case
    QString op;      // Unary and Binary: "-", "not", "+", "=", "and"...
    std::vector<std::unique_ptr<ExprNode>> args;
    int position = 0; // offset of the node in the expression text
};

// What an expression reads from the report being laid out.
class ExpressionContext
{
public:
    virtual ~ExpressionContext() = default;
    virtual QVariant column(const ExprNode &node) const = 0;
    virtual QVariant namedValue(const ExprNode &node) const = 0;
    // The functions whose value depends on the place in the report: sum, count, avg, min, max,
    // line, page, pages, printdate and now.
    virtual QVariant contextFunction(const ExprNode &call) const = 0;
};

// An expression of a report template:
//   data set columns      lines.qte_defaut
//   named values          titre             (set by the caller)
//   texts and numbers     'TOTAL : '  "x"  12.5
//   operators             + (adds numbers, joins texts)  - * /  = <> != < <= > >=  and or not
//   functions             sum(x) count() count(lines) avg(x) min(x) max(x) line() page() pages()
//                         printDate() now() format(x, '#.00') len(x) iif(c, a, b) trim(x)
//                         upper(x) lower(x) left(x, n) right(x, n) round(x, n) abs(x) text(x)
//                         number(x) isEmpty(x)
class ReportExpression
{
public:
    ReportExpression() = default;

    // The error names the position and what was expected.
    static Result<ReportExpression> parse(const QString &text);

    bool isNull() const { return !m_root; }
    const QString &text() const { return m_text; }
    const ExprNode *root() const { return m_root.get(); }

    QVariant evaluate(const ExpressionContext &context) const;

    // Calls `visit` for every node, parents before their arguments.
    void visit(const std::function<void(const ExprNode &)> &visit) const;

    // Evaluates one node of an expression, as the layout does for the argument of an aggregate.
    static QVariant evaluateNode(const ExprNode &node, const ExpressionContext &context);

    static bool isContextFunction(const QString &lowerName);
    static bool isAggregate(const QString &lowerName);

private:
    QString m_text;
    std::shared_ptr<const ExprNode> m_root;
};

} // namespace ravelin
