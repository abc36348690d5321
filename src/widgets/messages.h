#pragma once

// The messages in which the windows tell the user what went wrong below them: the
// code database and the segmentation library report error values, and these
// compose the texts.

#include "coding/codedatabase.h"
#include "coding/segmentationlibrary.h"

#include <QString>

namespace coding {
struct AppState;
}

namespace widgets {

// "编码数据库文件…不存在/已损坏或无法读取/未打开，无法查询汉字和词的编码！", naming the
// file, with the database's own words on a line of their own.
QString codeDatabaseMessage(const coding::CodeDatabaseError &error);

// "分词词库…已损坏或不存在，无法分词！" with the library's own words, "分词失败（错误 N）",
// "分词结果与文本的长度不一致，无法分词！" or "分词库未载入，无法分词！".
QString libraryMessage(const coding::LibraryError &error);

// After a lookup or table failed: tells the user under "提示信息" that jtdb.dat is
// missing or damaged. The same trouble is told once, not per lookup.
void reportCodeDatabaseError(coding::AppState &state);

} // namespace widgets
