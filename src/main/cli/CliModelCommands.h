// The tool's commands on the ringtone model: open, info, select, extract and make.
#pragma once

#include <QStringList>

class CCliModelOwner;
class CRingtoneModel;

// Prints the input's name, title, format, duration, gain and selection.
void PrintModelInfo(const CRingtoneModel& model);

int CliOpen(const QStringList& args, CCliModelOwner& owner);
int CliInfo(const QStringList& args, CCliModelOwner& owner);
int CliSelect(const QStringList& args, CCliModelOwner& owner);
int CliExtract(const QStringList& args, CCliModelOwner& owner);
int CliMake(const QStringList& args, CCliModelOwner& owner);
int CliBeam(const QStringList& args, CCliModelOwner& owner);
