#include "reportexpression.h"

#include "formats.h"
#include "reportvalues.h"

#include <QHash>

#include <cmath>

namespace ravelin {

namespace {

struct FunctionInfo
{
    int minArgs;
    int maxArgs;
    bool context;
};

const QHash<QString, FunctionInfo> &functions()
{
    static const QHash<QString, FunctionInfo> table = {
        {QStringLiteral("sum"), {1, 1, true}},       {QStringLiteral("count"), {0, 1, true}},
        {QStringLiteral("avg"), {1, 1, true}},       {QStringLiteral("min"), {1, 1, true}},
        {QStringLiteral("max"), {1, 1, true}},       {QStringLiteral("line"), {0, 0, true}},
        {QStringLiteral("page"), {0, 0, true}},      {QStringLiteral("pages"), {0, 0, true}},
        {QStringLiteral("printdate"), {0, 0, true}}, {QStringLiteral("now"), {0, 0, true}},
        {QStringLiteral("format"), {2, 2, false}},   {QStringLiteral("len"), {1, 1, false}},
        {QStringLiteral("iif"), {3, 3, false}},      {QStringLiteral("trim"), {1, 1, false}},
        {QStringLiteral("upper"), {1, 1, false}},    {QStringLiteral("lower"), {1, 1, false}},
        {QStringLiteral("left"), {2, 2, false}},     {QStringLiteral("right"), {2, 2, false}},
        {QStringLiteral("round"), {1, 2, false}},    {QStringLiteral("abs"), {1, 1, false}},
        {QStringLiteral("text"), {1, 1, false}},     {QStringLiteral("number"), {1, 1, false}},
        {QStringLiteral("isempty"), {1, 1, false}},
    };
    return table;
}

struct Token
{
    enum class Type { End, Number, String, Identifier, Operator };
    Type type = Type::End;
    QString text;
    QVariant value;
    int position = 0;
};

class Parser
{
public:
    explicit Parser(const QString &text) : m_text(text) {}

    std::unique_ptr<ExprNode> parseAll()
    {
        advance();
        auto node = parseOr();
        if (!m_error.isEmpty()) return nullptr;
        if (m_token.type != Token::Type::End) {
            fail(QStringLiteral("« %1 » inattendu").arg(m_token.text));
            return nullptr;
        }
        return node;
    }

    QString error() const { return m_error; }
    int errorPosition() const { return m_errorPosition; }

private:
    void fail(const QString &message)
    {
        if (!m_error.isEmpty()) return;
        m_error = message;
        m_errorPosition = m_token.position;
    }

    void advance()
    {
        const int n = int(m_text.size());
        while (m_pos < n && m_text[m_pos].isSpace()) ++m_pos;
        m_token = Token();
        m_token.position = m_pos;
        if (m_pos >= n) return;
        const QChar c = m_text[m_pos];
        if (c.isDigit()) {
            int end = m_pos;
            while (end < n && m_text[end].isDigit()) ++end;
            if (end + 1 < n && m_text[end] == QLatin1Char('.') && m_text[end + 1].isDigit()) {
                ++end;
                while (end < n && m_text[end].isDigit()) ++end;
            }
            m_token.type = Token::Type::Number;
            m_token.text = m_text.mid(m_pos, end - m_pos);
            m_token.value = m_token.text.toDouble();
            m_pos = end;
            return;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QString value;
            int i = m_pos + 1;
            for (;;) {
                if (i >= n) {
                    m_pos = n;
                    fail(QStringLiteral("texte non terminé"));
                    m_token.type = Token::Type::End;
                    return;
                }
                if (m_text[i] == c) {
                    if (i + 1 < n && m_text[i + 1] == c) { // a doubled quote stands for itself
                        value += c;
                        i += 2;
                        continue;
                    }
                    break;
                }
                value += m_text[i++];
            }
            m_token.type = Token::Type::String;
            m_token.text = m_text.mid(m_pos, i + 1 - m_pos);
            m_token.value = value;
            m_pos = i + 1;
            return;
        }
        if (c.isLetter() || c == QLatin1Char('_')) {
            int end = m_pos;
            while (end < n && (m_text[end].isLetterOrNumber() || m_text[end] == QLatin1Char('_'))) ++end;
            m_token.type = Token::Type::Identifier;
            m_token.text = m_text.mid(m_pos, end - m_pos);
            m_pos = end;
            return;
        }
        static const QStringList twoChars = {QStringLiteral("<>"), QStringLiteral("!="), QStringLiteral("<="),
                                             QStringLiteral(">=")};
        const QString two = m_text.mid(m_pos, 2);
        m_token.type = Token::Type::Operator;
        if (twoChars.contains(two)) {
            m_token.text = two;
            m_pos += 2;
            return;
        }
        if (QStringLiteral("+-*/()=<>,.").contains(c)) {
            m_token.text = c;
            ++m_pos;
            return;
        }
        m_token.text = c;
        fail(QStringLiteral("caractère « %1 » inattendu").arg(c));
    }

    bool isOperator(const char *op) const
    {
        return m_token.type == Token::Type::Operator && m_token.text == QLatin1String(op);
    }
    bool isKeyword(const char *word) const
    {
        return m_token.type == Token::Type::Identifier &&
               m_token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    std::unique_ptr<ExprNode> binary(const QString &op, std::unique_ptr<ExprNode> left, std::unique_ptr<ExprNode> right,
                                     int position)
    {
        auto node = std::make_unique<ExprNode>();
        node->kind = ExprNode::Kind::Binary;
        node->op = op;
        node->position = position;
        node->args.push_back(std::move(left));
        node->args.push_back(std::move(right));
        return node;
    }

    std::unique_ptr<ExprNode> parseOr()
    {
        auto left = parseAnd();
        while (m_error.isEmpty() && isKeyword("or")) {
            const int at = m_token.position;
            advance();
            left = binary(QStringLiteral("or"), std::move(left), parseAnd(), at);
        }
        return left;
    }

    std::unique_ptr<ExprNode> parseAnd()
    {
        auto left = parseNot();
        while (m_error.isEmpty() && isKeyword("and")) {
            const int at = m_token.position;
            advance();
            left = binary(QStringLiteral("and"), std::move(left), parseNot(), at);
        }
        return left;
    }

    std::unique_ptr<ExprNode> parseNot()
    {
        if (isKeyword("not")) {
            auto node = std::make_unique<ExprNode>();
            node->kind = ExprNode::Kind::Unary;
            node->op = QStringLiteral("not");
            node->position = m_token.position;
            advance();
            node->args.push_back(parseNot());
            return node;
        }
        return parseComparison();
    }

    std::unique_ptr<ExprNode> parseComparison()
    {
        auto left = parseAdditive();
        static const QStringList ops = {QStringLiteral("="), QStringLiteral("<>"), QStringLiteral("!="),
                                        QStringLiteral("<"), QStringLiteral("<="), QStringLiteral(">"),
                                        QStringLiteral(">=")};
        if (m_error.isEmpty() && m_token.type == Token::Type::Operator && ops.contains(m_token.text)) {
            const QString op = m_token.text == QLatin1String("!=") ? QStringLiteral("<>") : m_token.text;
            const int at = m_token.position;
            advance();
            left = binary(op, std::move(left), parseAdditive(), at);
        }
        return left;
    }

    std::unique_ptr<ExprNode> parseAdditive()
    {
        auto left = parseMultiplicative();
        while (m_error.isEmpty() && (isOperator("+") || isOperator("-"))) {
            const QString op = m_token.text;
            const int at = m_token.position;
            advance();
            left = binary(op, std::move(left), parseMultiplicative(), at);
        }
        return left;
    }

    std::unique_ptr<ExprNode> parseMultiplicative()
    {
        auto left = parseUnary();
        while (m_error.isEmpty() && (isOperator("*") || isOperator("/"))) {
            const QString op = m_token.text;
            const int at = m_token.position;
            advance();
            left = binary(op, std::move(left), parseUnary(), at);
        }
        return left;
    }

    std::unique_ptr<ExprNode> parseUnary()
    {
        if (isOperator("-")) {
            auto node = std::make_unique<ExprNode>();
            node->kind = ExprNode::Kind::Unary;
            node->op = QStringLiteral("-");
            node->position = m_token.position;
            advance();
            node->args.push_back(parseUnary());
            return node;
        }
        return parsePrimary();
    }

    std::unique_ptr<ExprNode> parsePrimary()
    {
        auto node = std::make_unique<ExprNode>();
        node->position = m_token.position;
        if (!m_error.isEmpty()) return node;
        switch (m_token.type) {
        case Token::Type::End: fail(QStringLiteral("expression incomplète")); return node;
        case Token::Type::Number:
        case Token::Type::String:
            node->kind = ExprNode::Kind::Constant;
            node->constant = m_token.value;
            advance();
            return node;
        case Token::Type::Operator:
            if (isOperator("(")) {
                advance();
                auto inner = parseOr();
                if (!isOperator(")")) {
                    fail(QStringLiteral("« ) » attendu"));
                    return inner;
                }
                advance();
                return inner;
            }
            fail(QStringLiteral("« %1 » inattendu").arg(m_token.text));
            return node;
        case Token::Type::Identifier: break;
        }

        const QString word = m_token.text;
        const QString lower = word.toLower();
        advance();
        if (lower == QLatin1String("true") || lower == QLatin1String("false")) {
            node->kind = ExprNode::Kind::Constant;
            node->constant = lower == QLatin1String("true");
            return node;
        }
        if (lower == QLatin1String("null")) {
            node->kind = ExprNode::Kind::Constant;
            return node;
        }
        if (isOperator("(")) {
            const auto it = functions().constFind(lower);
            if (it == functions().cend()) {
                m_token.position = node->position;
                fail(QStringLiteral("fonction inconnue « %1 »").arg(word));
                return node;
            }
            node->kind = ExprNode::Kind::Call;
            node->name = lower;
            advance();
            if (!isOperator(")")) {
                for (;;) {
                    node->args.push_back(parseOr());
                    if (!m_error.isEmpty()) return node;
                    if (isOperator(",")) {
                        advance();
                        continue;
                    }
                    break;
                }
                if (!isOperator(")")) {
                    fail(QStringLiteral("« ) » attendu"));
                    return node;
                }
            }
            advance();
            const int count = int(node->args.size());
            if (count < it->minArgs || count > it->maxArgs) {
                m_token.position = node->position;
                fail(QStringLiteral("nombre d'arguments incorrect pour « %1 »").arg(word));
            }
            return node;
        }
        if (isOperator(".")) {
            advance();
            if (m_token.type != Token::Type::Identifier) {
                fail(QStringLiteral("nom de colonne attendu après « %1. »").arg(word));
                return node;
            }
            node->kind = ExprNode::Kind::Column;
            node->dataset = lower;
            node->name = m_token.text;
            advance();
            return node;
        }
        node->kind = ExprNode::Kind::Name;
        node->name = word;
        return node;
    }

    QString m_text;
    int m_pos = 0;
    Token m_token;
    QString m_error;
    int m_errorPosition = 0;
};

QVariant evaluateNode(const ExprNode &node, const ExpressionContext &context);

QVariant callFunction(const ExprNode &node, const ExpressionContext &context)
{
    if (ReportExpression::isContextFunction(node.name)) return context.contextFunction(node);
    const auto arg = [&](int i) { return evaluateNode(*node.args[i], context); };
    const QString &f = node.name;
    if (f == QLatin1String("format")) return formatReportValue(arg(0), reportText(arg(1)));
    if (f == QLatin1String("len")) return int(reportText(arg(0)).size());
    if (f == QLatin1String("iif")) return reportTruth(arg(0)) ? arg(1) : arg(2);
    if (f == QLatin1String("trim")) return reportText(arg(0)).trimmed();
    if (f == QLatin1String("upper")) return reportText(arg(0)).toUpper();
    if (f == QLatin1String("lower")) return reportText(arg(0)).toLower();
    if (f == QLatin1String("left")) return reportText(arg(0)).left(qMax(0, int(reportNumber(arg(1)))));
    if (f == QLatin1String("right")) return reportText(arg(0)).right(qMax(0, int(reportNumber(arg(1)))));
    if (f == QLatin1String("text")) return reportText(arg(0));
    if (f == QLatin1String("isempty")) return reportText(arg(0)).trimmed().isEmpty();
    if (f == QLatin1String("abs")) {
        const QVariant v = arg(0);
        return v.isNull() ? QVariant() : QVariant(std::fabs(reportNumber(v)));
    }
    if (f == QLatin1String("number")) {
        const QVariant v = arg(0);
        return v.isNull() ? QVariant() : QVariant(reportNumber(v));
    }
    if (f == QLatin1String("round")) {
        const QVariant v = arg(0);
        if (v.isNull()) return {};
        const int decimals = node.args.size() > 1 ? int(reportNumber(arg(1))) : 0;
        const double scale = std::pow(10.0, decimals);
        return finiteOrZero(std::round(reportNumber(v) * scale) / scale);
    }
    return {};
}

QVariant evaluateBinary(const ExprNode &node, const ExpressionContext &context)
{
    const QString &op = node.op;
    if (op == QLatin1String("and")) {
        return reportTruth(evaluateNode(*node.args[0], context)) && reportTruth(evaluateNode(*node.args[1], context));
    }
    if (op == QLatin1String("or")) {
        return reportTruth(evaluateNode(*node.args[0], context)) || reportTruth(evaluateNode(*node.args[1], context));
    }
    const QVariant a = evaluateNode(*node.args[0], context);
    const QVariant b = evaluateNode(*node.args[1], context);
    if (op == QLatin1String("+")) {
        const bool numberA = isNumericValue(a) || a.isNull();
        const bool numberB = isNumericValue(b) || b.isNull();
        if (numberA && numberB) {
            if (a.isNull() && b.isNull()) return {};
            return reportNumber(a) + reportNumber(b);
        }
        return reportText(a) + reportText(b);
    }
    if (op == QLatin1String("-") || op == QLatin1String("*") || op == QLatin1String("/")) {
        if (a.isNull() && b.isNull()) return {};
        const double x = reportNumber(a), y = reportNumber(b);
        if (op == QLatin1String("-")) return x - y;
        if (op == QLatin1String("*")) return x * y;
        if (y == 0.0) return {};
        return x / y;
    }
    const int c = compareReportValues(a, b);
    if (op == QLatin1String("=")) return c == 0;
    if (op == QLatin1String("<>")) return c != 0;
    if (op == QLatin1String("<")) return c < 0;
    if (op == QLatin1String("<=")) return c <= 0;
    if (op == QLatin1String(">")) return c > 0;
    if (op == QLatin1String(">=")) return c >= 0;
    return {};
}

QVariant evaluateNode(const ExprNode &node, const ExpressionContext &context)
{
    switch (node.kind) {
    case ExprNode::Kind::Constant: return node.constant;
    case ExprNode::Kind::Column: return context.column(node);
    case ExprNode::Kind::Name: return context.namedValue(node);
    case ExprNode::Kind::Call: return callFunction(node, context);
    case ExprNode::Kind::Unary: {
        const QVariant v = evaluateNode(*node.args[0], context);
        if (node.op == QLatin1String("not")) return !reportTruth(v);
        if (v.isNull()) return {};
        return -reportNumber(v);
    }
    case ExprNode::Kind::Binary: return evaluateBinary(node, context);
    }
    return {};
}

void visitNode(const ExprNode &node, const std::function<void(const ExprNode &)> &visit)
{
    visit(node);
    for (const auto &child : node.args) visitNode(*child, visit);
}

} // namespace

Result<ReportExpression> ReportExpression::parse(const QString &text)
{
    Parser parser(text);
    auto root = parser.parseAll();
    if (!root) {
        Error e;
        e.message = QStringLiteral("expression « %1 » incorrecte : %2 (caractère %3)")
                        .arg(text, parser.error())
                        .arg(parser.errorPosition() + 1);
        e.where = QStringLiteral("ReportExpression::parse");
        return e;
    }
    ReportExpression expression;
    expression.m_text = text;
    expression.m_root = std::move(root);
    return expression;
}

QVariant ReportExpression::evaluate(const ExpressionContext &context) const
{
    return m_root ? evaluateNode(*m_root, context) : QVariant();
}

QVariant ReportExpression::evaluateNode(const ExprNode &node, const ExpressionContext &context)
{
    return ravelin::evaluateNode(node, context);
}

void ReportExpression::visit(const std::function<void(const ExprNode &)> &visit) const
{
    if (m_root) visitNode(*m_root, visit);
}

bool ReportExpression::isContextFunction(const QString &lowerName)
{
    const auto it = functions().constFind(lowerName);
    return it != functions().cend() && it->context;
}

bool ReportExpression::isAggregate(const QString &lowerName)
{
    return lowerName == QLatin1String("sum") || lowerName == QLatin1String("count") ||
           lowerName == QLatin1String("avg") || lowerName == QLatin1String("min") || lowerName == QLatin1String("max");
}

} // namespace ravelin
