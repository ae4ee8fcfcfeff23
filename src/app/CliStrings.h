// String-table identifiers of the command-line tool's own texts (the range 1000 to 1999).
#pragma once

enum CliStringId : int {
    IDS_CLI_USAGE = 1000,
    IDS_CLI_UNKNOWN_COMMAND = 1001,
    IDS_CLI_OPTION_NEEDS_VALUE = 1002,
    IDS_CLI_NO_SUCH_SETTING = 1003,
    IDS_CLI_TOO_MANY_ARGUMENTS = 1004,
};
