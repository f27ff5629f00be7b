#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

namespace recibo {

// The name offered for a saved slip: "Recibo <teacher> <yyyy-mm-dd>.pdf", or
// "Recibo <yyyy-mm-dd>.pdf" without a name; characters a file name cannot
// hold on any common system become "_", and the teacher's name is cut short
// (between two characters) where the whole would pass 248 bytes: file
// systems take 255 for a name, and a file replacing another is first
// written beside it under its name and seven characters more.
QString slipPdfName(const QString &teacher, const QDate &date);

// A failure as the user reads it: what happened, and what to do about it.
struct Problem {
    QString what;   // empty when nothing failed
    QString advice; // what the user can do
    bool failed() const { return !what.isEmpty(); }
};

// Writes `pdf` to the file `path` (to the file it links to, where it is a
// link), replacing a file of that name only once the whole page is safely on
// the disk. Every write, the flush to the disk, the closing and the
// replacing are checked, and the file's size is compared afterwards; after
// any failure the file that was there is as it was. Each cause (no space, no
// permission, no such folder, a link to a folder that does not exist, a name
// too long) has its own message.
Problem savePdfFile(const QString &path, const QByteArray &pdf);

} // namespace recibo
