#include "Usage.h"

namespace zk::cli {

const std::string& toolUsage()
{
    static const std::string text =
        "Usage: zk-h41-cli <command> [arguments]\n"
        "\n"
        "Channel plans of the ZK-H41 radio without the windows: shown, converted,\n"
        "read from the radio and written into it.\n"
        "\n"
        "Commands:\n"
        "  show PLAN.bc                   print a channel plan and its settings as a table\n"
        "  encode PLAN.bc                 print the plan as the radio's 17 memory records\n"
        "  decode RECORDS.txt -o PLAN.bc  make a channel plan of 17 memory records\n"
        "  import FILE.csv -o PLAN.bc     make a channel plan of a CSV or stock channel list\n"
        "  export PLAN.bc -o FILE.csv     write a channel plan as a CSV channel list\n"
        "  ports                          list the computer's serial ports\n"
        "  read --port PATH -o PLAN.bc    read the radio's channel plan into PLAN.bc\n"
        "  write --port PATH PLAN.bc      write the channel plan PLAN.bc into the radio\n"
        "  verify --port PATH PLAN.bc     compare the radio with the channel plan PLAN.bc\n"
        "  backup --port PATH -o FILE.img save the radio's memory as a raw image\n"
        "  restore --port PATH FILE.img   write a raw image back into the radio\n"
        "  doctor [--port PATH] [--probe] check the serial ports and the radio's cable\n"
        "  station PLAN.bc                write PLAN.bc into each radio plugged in\n"
        "\n"
        "A value follows its option as the next argument or after '=' (--port=PATH);\n"
        "after '--' a file's name may start with a dash.\n"
        "Run 'zk-h41-cli <command> --help' for the details of a command,\n"
        "'zk-h41-cli --version' for the version.\n"
        "Exit status: 0 on success, 1 on an error, 2 on wrong usage.\n";
    return text;
}

bool wantsHelp(const Arguments& args)
{
    for (const auto& arg : args)
        if (arg == "--help" || arg == "-h")
            return true;
    return false;
}

const std::string& singleOperand(const Arguments& args, const std::string& what)
{
    if (args.empty())
        throw UsageError("missing " + what);
    if (args.size() > 1)
        throw UsageError("unexpected argument '" + args[1] + "'");
    return args.front();
}

} // namespace zk::cli
