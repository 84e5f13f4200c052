#include "Lists.h"

#include <stdexcept>

namespace zk {

const std::array<std::string, kColumns>& columnHeaders()
{
    static const std::array<std::string, kColumns> headers{
        "Channel", "RX Frequency", "TX Frequency", "QT/DQT Dec", "QT/DQT Enc", "TX Power", "W/N"};
    return headers;
}

namespace {

const char* const kCtcss[] = {
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
    "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "162.2", "167.9", "173.8", "179.9",
    "186.2", "192.8", "203.5", "210.7", "218.1", "225.7", "233.6", "241.8", "250.3"};

const char* const kDcs[] = {
    "023", "025", "026", "031", "032", "043", "047", "051", "054", "065", "071", "072", "073", "074",
    "114", "115", "116", "125", "131", "132", "134", "143", "152", "155", "156", "162", "165", "172",
    "174", "205", "223", "226", "243", "244", "245", "251", "261", "263", "265", "271", "306", "311",
    "315", "331", "343", "346", "351", "364", "365", "371", "411", "412", "413", "423", "431", "432",
    "445", "464", "465", "466", "503", "506", "516", "532", "546", "565", "606", "612", "624", "627",
    "631", "632", "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754"};

std::vector<std::string> makeToneList()
{
    std::vector<std::string> list{"OFF"};
    for (const char* tone : kCtcss)
        list.push_back(std::string(tone) + "HZ");
    for (const char polarity : {'N', 'I'})
        for (const char* code : kDcs) {
            std::string tone = "D";
            tone += code;
            tone += polarity;
            list.push_back(tone);
        }
    return list;
}

std::vector<std::string> makeNumbers(int first, int last, int step)
{
    std::vector<std::string> list;
    for (int n = first; n <= last; n += step)
        list.push_back(std::to_string(n));
    return list;
}

std::vector<std::string> makeTimeOutList()
{
    std::vector<std::string> list{"0FF"}; // digit zero: the timer is off
    for (const auto& n : makeNumbers(15, 600, 15))
        list.push_back(n);
    return list;
}

} // namespace

const std::vector<std::string>& toneList()
{
    static const std::vector<std::string> list = makeToneList();
    return list;
}

const std::vector<std::string>& powerList()
{
    static const std::vector<std::string> list{"Low", "High"};
    return list;
}

const std::vector<std::string>& bandwidthList()
{
    static const std::vector<std::string> list{"Narrow", "Wide"};
    return list;
}

const std::vector<std::string>& settingsList(int setting)
{
    static const std::array<std::vector<std::string>, kSettings> lists{
        std::vector<std::string>{"OFF", "Chinese", "English"},
        makeTimeOutList(),
        makeNumbers(0, 9, 1),
        std::vector<std::string>{"OFF", "ON"},
        makeNumbers(1, 9, 1),
    };
    if (setting < 0 || setting >= kSettings)
        throw std::out_of_range("settings list");
    return lists[static_cast<std::size_t>(setting)];
}

const std::string& settingLabel(int setting)
{
    static const std::array<std::string, kSettings> labels{
        "Voice Annunciation :", "Time Out Timer(TOT):", "Squelch Level      :",
        "VOX Function      :", "VOX Delay Time    :"};
    if (setting < 0 || setting >= kSettings)
        throw std::out_of_range("settings label");
    return labels[static_cast<std::size_t>(setting)];
}

const std::array<Band, kBands>& bandTable()
{
    static const std::array<Band, kBands> bands{
        Band{"N9", "VHF:136-174", 136, 174},  Band{"N10", "VHF:220-260", 220, 260},
        Band{"N11", "UHF:340-390", 340, 390}, Band{"N16", "UHF:400-490", 400, 490},
        Band{"N17", "UHF:440-520", 440, 520},
    };
    return bands;
}

} // namespace zk
