#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace tarnex {

// One node of the subject tree: depth 0 for a category, 1 for a subject that can be picked.
struct SubjectNode
{
    int depth = 0;
    QString text;

    friend bool operator==(const SubjectNode&, const SubjectNode&) = default;
};

// The nodes read from a subject file, in file order, and the error that stopped the reading
// (empty when the whole file was read). The nodes before a faulty line are kept.
struct SubjectList
{
    QList<SubjectNode> nodes;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// kjkm.dat in the program folder.
QString subjectFilePath();

// The list the subject tree holds of its own, kept when kjkm.dat cannot be read: the category
// 资产类 with its first eleven subjects.
const QList<SubjectNode>& builtInSubjects();

// The text of a subject file: UTF-8 or UTF-16 (either byte order) after a byte-order mark,
// otherwise the ANSI code page 936. Undecodable bytes become replacement characters; never fails.
QString decodeSubjectText(const QByteArray& bytes);

// Reads the tree from the file's bytes: one node per line (CR LF, CR or LF end a line), the
// number of leading tabs or blanks is the line's level, the rest of the line the node's text.
// The first line is a root; a line at the previous node's level is its sibling, one deeper its
// child, shallower the sibling of its ancestor at that level. A line more than one level deeper
// than the previous node stops the reading with an error.
SubjectList parseSubjectFile(const QByteArray& bytes);

// Reads the file; when it is missing or unreadable the list is the built-in one, with an error.
SubjectList loadSubjectFile(const QString& path = subjectFilePath());

} // namespace tarnex
