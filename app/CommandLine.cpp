#include "app/CommandLine.h"

#include "app/AppTexts.h"
#include "common/NativePath.h"

#include <filesystem>
#include <system_error>

namespace tapwise {
namespace {

constexpr int BadArgumentCode = 2;

std::filesystem::path toPath(const QString& text) {
    return std::filesystem::path(encodePath(text).toStdString());
}

// The reason a folder cannot be used, or an empty code when it can.
std::error_code folderProblem(const QString& folder) {
    std::error_code error;
    const auto status = std::filesystem::status(toPath(folder), error);
    if (error)
        return error;
    if (!std::filesystem::is_directory(status))
        return std::make_error_code(std::errc::not_a_directory);
    return {};
}

Error folderError(const QString& folder, const std::error_code& problem) {
    return {BadArgumentCode, QString::fromLatin1(apptext::FolderError) + u'\n' +
                                 QString::number(problem.value()) + QStringLiteral("    ") +
                                 QString::fromLocal8Bit(problem.message()) + u'\n' + folder};
}

Error fieldError(const QString& field, const QString& lines) {
    return {BadArgumentCode, field + QStringLiteral("\n\n") + lines};
}

bool fileExists(const QString& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(toPath(path), error);
}

// Field 2: "WORKBOOK" or "WORKBOOK|PASSWORD", both parts trimmed.
void splitWorkbookField(const QString& field, RunArguments& arguments) {
    const QString trimmed = field.trimmed();
    const qsizetype bar = trimmed.indexOf(u'|');
    if (bar < 0) {
        arguments.excelFile = trimmed;
        return;
    }
    arguments.excelFile = trimmed.left(bar).trimmed();
    arguments.password = trimmed.mid(bar + 1).trimmed();
}

} // namespace

QString JoinArguments(const QStringList& words) {
    return words.join(u' ').trimmed();
}

QString TakeLanguageSuffix(QString& argument) {
    const qsizetype n = argument.size();
    if (n < 2 || argument.at(n - 2) != u'|')
        return QStringLiteral("E");
    const QChar letter = argument.at(n - 1).toUpper();
    if (letter != u'E' && letter != u'I')
        return QStringLiteral("E");
    argument.chop(2);
    return QString(letter);
}

bool IsNoMsg(const QString& field) {
    return field.compare(QLatin1String("NOMSG"), Qt::CaseInsensitive) == 0;
}

Result<RunArguments> ParseRunArguments(const QString& argument, const QString& lang) {
    const QStringList fields = argument.split(u',');
    RunArguments arguments;
    arguments.dataFolder = fields.at(0).trimmed();
    if (const std::error_code problem = folderProblem(arguments.dataFolder))
        return folderError(arguments.dataFolder, problem);
    if (!arguments.dataFolder.endsWith(u'/'))
        arguments.dataFolder += u'/';
    if (fields.size() > 1)
        arguments.name = fields.at(1).trimmed();
    if (fields.size() > 2) {
        splitWorkbookField(fields.at(2), arguments);
        if (!arguments.excelFile.isEmpty() && !fileExists(arguments.excelFile))
            return fieldError(arguments.excelFile, apptext::ExcelMissing.in(lang));
    }
    if (fields.size() > 3) {
        arguments.noMsg = fields.at(3).trimmed();
        if (!arguments.noMsg.isEmpty() && !IsNoMsg(arguments.noMsg))
            return fieldError(arguments.noMsg, apptext::InvalidParameter.in(lang) + u'\n' +
                                                   apptext::MustBeNoMsg.in(lang));
    }
    return arguments;
}

} // namespace tapwise
