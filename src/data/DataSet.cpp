#include "DataSet.h"

#include "Database.h"
#include "platform/AppError.h"

#include <QRegularExpression>

#include <sqlite3.h>

namespace tarnex {
namespace {

QString quotedName(const QString& name)
{
    QString quoted = name;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

const QVariant& nullValue()
{
    static const QVariant value;
    return value;
}

} // namespace

DataSet::DataSet(Database& db) : m_db(db) {}

void DataSet::open(const QString& sql, const QVariantList& params)
{
    close();
    static const QRegularExpression updatable(
        QStringLiteral(R"(^\s*select\s+\*\s+from\s+("[^"]+"|[\w]+)(.*)$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption |
            QRegularExpression::UseUnicodePropertiesOption);
    const auto match = updatable.match(sql);
    QString statementText = sql;
    QString table;
    if (match.hasMatch()) {
        table = match.captured(1);
        if (table.startsWith(u'"'))
            table = table.mid(1, table.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
        statementText = QStringLiteral("SELECT rowid, * FROM %1%2").arg(quotedName(table), match.captured(2));
    }

    Statement statement(m_db, statementText, params);
    const int firstColumn = table.isEmpty() ? 0 : 1;
    QStringList columns;
    for (int c = firstColumn; c < statement.columnCount(); ++c)
        columns.append(statement.columnName(c));
    std::vector<Row> rows;
    while (statement.step()) {
        Row row;
        row.rowId = table.isEmpty() ? 0 : statement.value(0).toLongLong();
        row.values.reserve(size_t(columns.size()));
        for (int c = firstColumn; c < statement.columnCount(); ++c)
            row.values.push_back(statement.value(c));
        rows.push_back(std::move(row));
    }

    m_table = table;
    m_columns = columns;
    m_rows = std::move(rows);
    m_current = 0;
    m_state = State::Browse;
}

void DataSet::close()
{
    m_state = State::Inactive;
    m_table.clear();
    m_columns.clear();
    m_rows.clear();
    m_current = 0;
    m_buffer = {};
    m_changed.clear();
}

void DataSet::setPosition(int row)
{
    if (m_state == State::Edit || m_state == State::Insert)
        post();
    m_current = std::clamp(row, 0, recordCount());
}

void DataSet::first()
{
    setPosition(0);
}

void DataSet::next()
{
    setPosition(m_current + 1);
}

void DataSet::prior()
{
    setPosition(m_current - 1);
}

void DataSet::last()
{
    setPosition(std::max(0, recordCount() - 1));
}

bool DataSet::eof() const
{
    return m_current >= recordCount();
}

bool DataSet::bof() const
{
    return m_rows.empty() || m_current == 0;
}

int DataSet::columnIndex(const QString& column) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(column, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int DataSet::requireColumn(const QString& column) const
{
    if (m_state == State::Inactive)
        throw AppError(QStringLiteral("数据集未打开，无法访问字段“%1”。").arg(column));
    const int index = columnIndex(column);
    if (index < 0)
        throw AppError(QStringLiteral("找不到字段“%1”。").arg(column));
    return index;
}

void DataSet::requireRow(const char* operation) const
{
    if (m_state == State::Inactive)
        throw AppError(QStringLiteral("数据集未打开，无法%1。").arg(QString::fromUtf8(operation)));
    if (eof())
        throw AppError(QStringLiteral("没有当前记录，无法%1。").arg(QString::fromUtf8(operation)));
}

void DataSet::requireUpdatable(const char* operation) const
{
    if (m_state == State::Inactive)
        throw AppError(QStringLiteral("数据集未打开，无法%1。").arg(QString::fromUtf8(operation)));
    if (m_table.isEmpty())
        throw AppError(QStringLiteral("数据集只读，无法%1。").arg(QString::fromUtf8(operation)));
}

const QVariant& DataSet::currentValue(int index) const
{
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer.values.at(size_t(index));
    if (eof())
        return nullValue();
    return m_rows.at(size_t(m_current)).values.at(size_t(index));
}

QString DataSet::text(const QString& column) const
{
    const QVariant& value = currentValue(requireColumn(column));
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    return value.toString();
}

QByteArray DataSet::bytes(const QString& column) const
{
    const QVariant& value = currentValue(requireColumn(column));
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray();
    return value.toString().toUtf8();
}

QVariant DataSet::value(const QString& column) const
{
    return currentValue(requireColumn(column));
}

bool DataSet::isNull(const QString& column) const
{
    return currentValue(requireColumn(column)).isNull();
}

bool DataSet::locate(const QString& column, const QString& value)
{
    const int index = requireColumn(column);
    if (m_state == State::Edit || m_state == State::Insert)
        post();
    for (int row = 0; row < recordCount(); ++row) {
        const QVariant& cell = m_rows.at(size_t(row)).values.at(size_t(index));
        const QString cellText =
            cell.typeId() == QMetaType::QByteArray ? QString::fromUtf8(cell.toByteArray()) : cell.toString();
        if (cellText.compare(value, Qt::CaseInsensitive) == 0) {
            m_current = row;
            return true;
        }
    }
    return false;
}

void DataSet::edit()
{
    requireUpdatable("修改记录");
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    requireRow("修改记录");
    m_buffer = m_rows.at(size_t(m_current));
    m_changed.assign(size_t(m_columns.size()), false);
    m_state = State::Edit;
}

void DataSet::append()
{
    requireUpdatable("添加记录");
    if (m_state == State::Edit || m_state == State::Insert)
        post();
    m_buffer = Row{0, std::vector<QVariant>(size_t(m_columns.size()))};
    m_changed.assign(size_t(m_columns.size()), false);
    m_state = State::Insert;
}

void DataSet::setValue(const QString& column, QVariant value)
{
    const int index = requireColumn(column);
    if (m_state != State::Edit && m_state != State::Insert)
        throw AppError(QStringLiteral("数据集不在编辑状态，无法设置字段“%1”。").arg(column));
    m_buffer.values[size_t(index)] = std::move(value);
    m_changed[size_t(index)] = true;
}

void DataSet::setText(const QString& column, const QString& value)
{
    // An empty QString would bind as NULL; the answer columns hold "" for "not answered".
    setValue(column, value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value));
}

void DataSet::setBytes(const QString& column, const QByteArray& value)
{
    setValue(column, value.isNull() ? QVariant(QByteArray("")) : QVariant(value));
}

void DataSet::setNull(const QString& column)
{
    setValue(column, QVariant());
}

void DataSet::post()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    // A failed write leaves the data set as it was before the edit: the snapshot still holds what
    // the file holds, and no half-posted buffer lingers for the next post to write.
    try {
        writePending();
    } catch (...) {
        cancel();
        throw;
    }
}

void DataSet::writePending()
{
    QStringList names;
    QVariantList values;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_changed[size_t(i)]) {
            names.append(quotedName(m_columns.at(i)));
            values.append(m_buffer.values[size_t(i)]);
        }
    }

    if (m_state == State::Edit) {
        if (!names.isEmpty()) {
            QStringList assignments;
            for (const QString& name : std::as_const(names))
                assignments.append(name + QStringLiteral(" = ?"));
            values.append(m_buffer.rowId);
            m_db.execute(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                             .arg(quotedName(m_table), assignments.join(QStringLiteral(", "))),
                         values);
            if (sqlite3_changes(m_db.handle()) != 1)
                throw AppError(
                    QStringLiteral("无法找到要更新的记录（表“%1”），它可能已被删除。").arg(m_table));
        }
        m_rows[size_t(m_current)] = m_buffer;
    } else {
        if (names.isEmpty()) {
            m_db.execute(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quotedName(m_table)));
        } else {
            QStringList marks;
            for (qsizetype i = 0; i < names.size(); ++i)
                marks.append(QStringLiteral("?"));
            m_db.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                             .arg(quotedName(m_table), names.join(QStringLiteral(", ")),
                                  marks.join(QStringLiteral(", "))),
                         values);
        }
        m_buffer.rowId = sqlite3_last_insert_rowid(m_db.handle());
        m_rows.push_back(m_buffer);
        m_current = recordCount() - 1;
    }
    m_state = State::Browse;
    m_buffer = {};
    m_changed.clear();
}

void DataSet::cancel()
{
    if (m_state == State::Edit || m_state == State::Insert) {
        m_state = State::Browse;
        m_buffer = {};
        m_changed.clear();
    }
}

void DataSet::remove()
{
    requireUpdatable("删除记录");
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    requireRow("删除记录");
    m_db.execute(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quotedName(m_table)),
                 {m_rows.at(size_t(m_current)).rowId});
    m_rows.erase(m_rows.begin() + m_current);
    if (m_current >= recordCount() && m_current > 0)
        m_current = recordCount() - 1;
}

} // namespace tarnex
