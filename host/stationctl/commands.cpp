#include "commands.h"

namespace stationctl {

namespace {

const char kBoardHelp[] =
    "usage: stationctl board N [--name TEXT] [--detected 0|1]\n"
    "\n"
    "Board N (1 to 4) as the hardware reports it, in\n"
    "HKLM\\Software\\Quillon\\Orvanta\\Setup\\BoardN (the key is created when needed):\n"
    "  --name TEXT      \"Board Name\" (string)\n"
    "  --detected 0|1   \"Detected\" (binary, 1 byte)\n"
    "Only the values given are written. Without options, prints the two values\n"
    "as they stand.\n";

const char kStationHelp[] =
    "usage: stationctl station N [--detected 0|1] [--base-init 0|1] [--keyboard-init 0|1]\n"
    "                            [--mouse-init 0|1] [--io-handle HEX]\n"
    "\n"
    "Station N (1 to 8) as the hardware reports it, in\n"
    "HKLM\\Software\\Quillon\\Orvanta\\Setup\\StationN (the key is created when needed):\n"
    "  --detected 0|1        \"Detected\"         (binary, 1 byte)\n"
    "  --base-init 0|1       \"Zq Base Init\"     (binary, 1 byte)\n"
    "  --keyboard-init 0|1   \"Zq Keyboard Init\" (binary, 1 byte)\n"
    "  --mouse-init 0|1      \"Zq Mouse Init\"    (binary, 1 byte)\n"
    "  --io-handle HEX       \"IO Handle\" (binary, 4 bytes little-endian), e.g. 0x340 or 340\n"
    "Only the values given are written. Without options, prints the five values\n"
    "as they stand.\n";

const char kMessageHelp[] =
    "usage: stationctl message --station NAME --text TEXT [--slot a-z] [--caption TEXT]\n"
    "                          [--user NAME] [--type TEXT] [--time 16HEX] [--seen 0|1]\n"
    "\n"
    "Records a message raised at a station in the message store\n"
    "HKLM\\Software\\Quillon\\Orvanta\\Setup\\BlueScreenMessage: every value of one slot\n"
    "(\"%cMessage\", \"%cCaption\", \"%cSeenByFrontEnd\", \"%cStation\", \"%cTimeStamp\",\n"
    "\"%cType\", \"%cUser\"). Prints the slot letter used.\n"
    "  --station NAME   the station that raised it (required)\n"
    "  --text TEXT      the message (required); \\n in it becomes a line feed and\n"
    "                   \\\\ one backslash; other backslashes stay as they are\n"
    "  --slot a-z       the slot to write, replacing what it holds; default: the\n"
    "                   first slot without a message (a full store is refused)\n"
    "  --caption TEXT   default \"Station Message\"\n"
    "  --user NAME      default \"(none)\"\n"
    "  --type TEXT      default \"BlueScreen\"\n"
    "  --time 16HEX     8 hex digits of days since 1 Jan 1980, then 8 of milliseconds\n"
    "                   since midnight; default: now, by the local clock\n"
    "  --seen 0|1       the seen flag (1-byte binary); default 0 (new)\n"
    "Each text is at most 511 bytes, as the control center reads them.\n";

const char kRestartHelp[] =
    "usage: stationctl restart\n"
    "\n"
    "Simulates a restart of the host: empties HKEY_DYN_DATA\\Config Manager\\Enum\n"
    "(the key itself stays) and lists in it every device present:\n"
    "  - each port hardware key HKLM\\Enum\\Root\\Ternway\\App<n>Port<k>, as\n"
    "    HardWareKey \"Root\\Ternway\\App<n>Port<k>\" (n and k 1 to 999);\n"
    "  - each board whose \"Detected\" is non-zero, as \"Root\\Ternway\\Board<n>\";\n"
    "  - each PCI function HKLM\\Enum\\Pci\\<device>\\<instance>, as \"PCI\\<device>\\<instance>\".\n"
    "Each device gets a subkey \"C\" + 8 hex digits (C1nnnkkkk for a port, C2000000n\n"
    "for a board, C3nnnnnnn for the n-th PCI function) with \"HardWareKey\" (string)\n"
    "and \"Status\" and \"Problem\" (binary, 4 bytes, 0). Prints one line per device:\n"
    "subkey and HardWareKey.\n";

const char kRunHelp[] =
    "usage: stationctl run STATION COMMAND_TEXT [--task NAME]\n"
    "\n"
    "Starts a program at a launched station, in a new task, and prints the task key.\n"
    "  STATION        a station number 1 to 8 (driver index 0 to 7), or the name\n"
    "                 under which the station was launched (any case). A name is\n"
    "                 looked up with the product's FIRST_LAUNCH and NEXT_LAUNCH\n"
    "                 requests, which the driver adds to its request log; give the\n"
    "                 number to keep the log untouched.\n"
    "  COMMAND_TEXT   the program's command line, at most 127 characters\n"
    "  --task NAME    the task's name, at most 19 characters; default: the file\n"
    "                 name of the program\n"
    "The driver refuses a station that is not launched.\n";

const char kPendingHelp[] =
    "usage: stationctl pending on|off\n"
    "\n"
    "While on, the driver answers QUERY_PENDING with work pending, so the control\n"
    "center must not stop stations. reset turns it off.\n";

const char kAtStationHelp[] =
    "usage: stationctl at-station on|off\n"
    "\n"
    "While on, the driver answers the station query (code 0x813) with \"the caller\n"
    "runs at a station\". reset turns it off.\n";

const char kAbsentHelp[] =
    "usage: stationctl absent on|off\n"
    "\n"
    "While on, opening \\\\.\\Corehub fails as if no driver were loaded (error 2),\n"
    "so the control center starts without its driver; handles already open keep\n"
    "working, and stationctl reaches the driver through \\\\.\\Portlane meanwhile.\n"
    "reset turns it off.\n";

const char kDeviceHelp[] =
    "usage: stationctl device remove|restore ID\n"
    "\n"
    "Takes a virtual device out of the list the driver reports (FIRST_DEVICE,\n"
    "NEXT_DEVICE) or puts it back. ID is 16-bit, in hex as 0x3AE3 or in decimal.\n"
    "The driver refuses an ID it does not know. reset reports every device again.\n";

const char kShowHelp[] =
    "usage: stationctl show [STATION]\n"
    "\n"
    "Prints what the stations display: the texts sent to them, oldest first, one\n"
    "per line (the driver keeps the latest 32). Texts go to every station alike;\n"
    "STATION, a number 1 to 8, is only checked. In the texts a backslash is\n"
    "printed as \\\\, a line feed as \\n, a carriage return as \\r, a tab as \\t and\n"
    "other control characters as \\xHH.\n";

const char kStatusHelp[] =
    "usage: stationctl status\n"
    "\n"
    "Prints the driver's state, one \"name: value\" line each: pending work,\n"
    "at station, launched stations, tasks, programs, texts, shutdown (none,\n"
    "prepared with its mode, or executed with both modes) and requests (since the\n"
    "last reset). Adds nothing to the request log.\n";

const char kListHelp[] =
    "usage: stationctl list\n"
    "\n"
    "Lists the launched stations with their tasks and the programs in them, then\n"
    "the virtual devices the driver reports. It asks the driver with the product's\n"
    "own requests (FIRST_/NEXT_LAUNCH, _TASK, _PROGRAM, _DEVICE), so it ADDS THOSE\n"
    "REQUESTS TO THE REQUEST LOG; use status for a look that leaves the log alone.\n"
    "Lines:\n"
    "  station N: \"NAME\", user \"USER\"\n"
    "    task KEY\n"
    "      COMMAND_TEXT\n"
    "  device 0xID MAJOR.MINOR [NAME]\n";

const char kRequestsHelp[] =
    "usage: stationctl requests\n"
    "\n"
    "Prints the driver's request log, oldest first (it keeps the latest 512), one\n"
    "line per request: the code as 0x%06X, then the input bytes as lower-case hex\n"
    "pairs separated by single spaces (as many as the caller gave, at most the 256\n"
    "logged). Requests that reached the Portlane device end with the word\n"
    "\"portlane\". Examples:\n"
    "  0x22081A\n"
    "  0x22080E 43 00 00 00\n"
    "  0x000801 portlane\n"
    "stationctl's own private requests are not logged.\n";

const char kResetHelp[] =
    "usage: stationctl reset\n"
    "\n"
    "Clears the driver's request log and all its state: launched stations, tasks,\n"
    "programs, texts, the shutdown request, pending work and at-station (both\n"
    "off); every device is reported again.\n";

const char kS3Help[] =
    "usage: stationctl s3 fail find|massage|both|none\n"
    "       stationctl s3 absent|present|status|requests|reset\n"
    "\n"
    "The S3 display support driver (s3w32d.sys, \\\\.\\S3W32D.VXD), which the setup\n"
    "library asks to find the Savage board (code 0x700) and then to massage the\n"
    "registry entries (code 0x702). stationctl reaches it through \\\\.\\S3W32D.CTL.\n"
    "  fail WHICH   from now on find (0x700), massage (0x702) or both fail\n"
    "               (Win32 error 31); none lets both succeed again\n"
    "  absent       opening \\\\.\\S3W32D.VXD fails with error 2, as if no driver\n"
    "               were loaded; handles already open keep working\n"
    "  present      the device can be opened again\n"
    "  status       prints \"name: value\" lines: find and massage (succeeds or\n"
    "               fails), device (present or absent), opens (of \\\\.\\S3W32D.VXD\n"
    "               since the last reset), open handles (now), find requests,\n"
    "               massage requests and other requests (since the last reset)\n"
    "  requests     prints the latest 64 requests to \\\\.\\S3W32D.VXD, oldest first,\n"
    "               one line each: the code, the input and output lengths the\n"
    "               caller gave, and ok or failed with the NTSTATUS, e.g.\n"
    "                 0x000700 in 4 out 8 ok\n"
    "                 0x000702 in 4 out 8 failed 0xC0000001\n"
    "  reset        both requests succeed, the device is present, the counts\n"
    "               and the requests are cleared\n";

const std::vector<Command> kCommands = {
    {"board", "board N [--name TEXT] [--detected 0|1]", kBoardHelp, RunBoard, Reach::kRegistry},
    {"station", "station N [--detected|--base-init|--keyboard-init|--mouse-init 0|1] [--io-handle HEX]", kStationHelp,
     RunStation, Reach::kRegistry},
    {"message", "message --station NAME --text TEXT [--slot a-z] [--caption ...] [--time 16HEX] ...", kMessageHelp,
     RunMessage, Reach::kRegistry},
    {"restart", "restart", kRestartHelp, RunRestart, Reach::kRegistry},
    {"run", "run STATION COMMAND_TEXT [--task NAME]", kRunHelp, RunProgram, Reach::kCorehub},
    {"pending", "pending on|off", kPendingHelp, RunPending, Reach::kCorehub},
    {"at-station", "at-station on|off", kAtStationHelp, RunAtStation, Reach::kCorehub},
    {"absent", "absent on|off", kAbsentHelp, RunAbsent, Reach::kCorehub},
    {"device", "device remove|restore ID", kDeviceHelp, RunDevice, Reach::kCorehub},
    {"show", "show [STATION]", kShowHelp, RunShow, Reach::kCorehub},
    {"status", "status", kStatusHelp, RunStatus, Reach::kCorehub},
    {"list", "list        (adds to the request log)", kListHelp, RunList, Reach::kCorehub},
    {"requests", "requests", kRequestsHelp, RunRequests, Reach::kCorehub},
    {"reset", "reset", kResetHelp, RunReset, Reach::kCorehub},
    {"s3", "s3 fail find|massage|both|none | absent | present | status | requests | reset", kS3Help, RunS3, Reach::kS3},
};

void PrintOverview(std::ostream& out) {
    out << "stationctl: the station side of an Orvanta host, for the control center to see:\n"
           "what the stations and the hardware write into the registry, and what they\n"
           "make the station-manager driver (corehub.sys) do and report.\n"
           "\n"
           "usage: stationctl COMMAND [ARGUMENTS]\n"
           "       stationctl help [COMMAND]   (also stationctl --help, stationctl COMMAND --help)\n"
           "\n"
           "Registry (no driver needed):\n";
    auto group = [&](Reach reach) {
        for (const Command& command : kCommands)
            if (command.reach == reach) out << "  " << command.synopsis << "\n";
    };
    group(Reach::kRegistry);
    out << "\nDriver (through \\\\.\\Corehub):\n";
    group(Reach::kCorehub);
    out << "\nS3 display support driver (through \\\\.\\S3W32D.CTL):\n";
    group(Reach::kS3);
    out << "\n"
           "Options take their value as --name VALUE or --name=VALUE; after -- every word\n"
           "is an argument, even one that starts with dashes.\n"
           "\n"
           "Exit codes: 0 done; 1 bad arguments (nothing was done); 2 no driver (\\\\.\\Corehub,\n"
           "or \\\\.\\S3W32D.CTL for s3, cannot be opened); 3 the registry or the driver\n"
           "refused the work. A failure is reported as one line on standard error.\n";
}

bool IsHelpWord(const std::string& word) {
    return word == "--help" || word == "-h";
}

}  // namespace

const std::vector<Command>& CommandTable() {
    return kCommands;
}

const Command* FindCommand(std::string_view name) {
    for (const Command& command : kCommands)
        if (name == command.name) return &command;
    return nullptr;
}

int Dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << "stationctl: no command given (try: stationctl --help)\n";
        return kExitBadArguments;
    }
    const std::string& name = args[0];
    if (IsHelpWord(name) || name == "help") {
        if (args.size() == 1 || (args.size() == 2 && IsHelpWord(args[1]))) {
            PrintOverview(out);
            return kExitSuccess;
        }
        const Command* command = args.size() == 2 ? FindCommand(args[1]) : nullptr;
        if (!command) {
            err << "stationctl: help: no command '" << args[1] << "' (try: stationctl --help)\n";
            return kExitBadArguments;
        }
        out << command->help;
        return kExitSuccess;
    }
    const Command* command = FindCommand(name);
    if (!command) {
        err << "stationctl: unknown command '" << name << "' (try: stationctl --help)\n";
        return kExitBadArguments;
    }
    Arguments rest(args.begin() + 1, args.end());
    // "--help" anywhere before "--" asks for the command's help; a text that
    // really is "--help" can still be given as --option=--help or after "--".
    for (const std::string& word : rest) {
        if (word == "--") break;
        if (IsHelpWord(word)) {
            out << command->help;
            return kExitSuccess;
        }
    }
    Outcome outcome = command->run(rest, out);
    if (!outcome.ok()) err << "stationctl: " << outcome.message << "\n";
    return outcome.exitCode;
}

}  // namespace stationctl
