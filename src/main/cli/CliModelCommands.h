// The tool's commands on the ringtone model: open, info, select, extract, make and suggest.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

class CCliModelOwner;
class CRingtoneModel;

// A command's own arguments: plain ones in order, and options with a value.
struct CommandArgs {
    QStringList plain;
    QHash<QString, QString> options;
};

// Splits args; the options named in withValue take "--x VALUE" or "--x=VALUE". Unknown options
// and options without their value fail with the tool's message.
std::optional<CommandArgs> SplitArgs(const QString& command, const QStringList& args,
                                     const QStringList& withValue);
// Whether args holds exactly count plain arguments; prints the tool's message when not.
bool ExpectPlain(const QString& command, const CommandArgs& args, qsizetype count);
// Reads the time option (or plain argument) text into ms; prints the message when it is no time.
bool ReadTime(const QString& text, qint64& ms);
// A time as the tool prints it.
QString TimeText(qint64 ms);
// Reopens the last input as a start of the program does; false (message shown) when none is open.
bool ReopenLastInput(CRingtoneModel& model, CCliModelOwner& owner);

// Prints the input's name, title, format, duration, gain and selection.
void PrintModelInfo(const CRingtoneModel& model);

int CliOpen(const QStringList& args, CCliModelOwner& owner);
int CliInfo(const QStringList& args, CCliModelOwner& owner);
int CliSelect(const QStringList& args, CCliModelOwner& owner);
int CliExtract(const QStringList& args, CCliModelOwner& owner);
int CliMake(const QStringList& args, CCliModelOwner& owner);
int CliBeam(const QStringList& args, CCliModelOwner& owner);
// suggest [--length T]: selects the input's loudest repeated stretch and keeps it.
int CliSuggest(const QStringList& args, CCliModelOwner& owner);
