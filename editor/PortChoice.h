#pragma once
// The port choice: the one place that opens the window's port. It fills the
// port list, opens the chosen port and says how that went in the first
// status panel (its tooltip gives the reason when it failed), and follows
// the cable: a port whose device went away no longer counts as open, and
// the same cable is opened again when it comes back, whether the system
// announces the device or only its path comes back (a link the user named).
#include "CableWatch.h"
#include "SerialPortList.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string>

class QComboBox;
class QLabel;
class TComm;

namespace zk {
class PathPortEvents;
class RadioLink;
class TransferEngine;
class UserMessages;
struct PortEvent;

class PortChoice : public QObject {
public:
    // list is ComboBox1, status the first status panel; all outlive this.
    PortChoice(TComm& comm, QComboBox& list, QLabel& status, RadioLink& link, TransferEngine& engine,
               UserMessages& messages, PortSources sources);
    ~PortChoice() override;

    // The creation step's port set-up: the list and the first port that is
    // no console, then the line without XON/XOFF.
    void setUpFirstHalf();
    void setUpSecondHalf();
    // The user's pick: the port open before is closed, the chosen one opened.
    void choose();
    // The status says the port chosen in the list is open.
    bool ready() const;

    // Where the port's device is looked up: the connection check's view too.
    SystemView view() const;

private:
    // Opens name and shows the outcome: the only open of the port.
    void openAndShow(const QString& name);
    // Follows the open port's path itself, which no device notice may name.
    void watchPath(const std::string& path);
    void unplugged();
    void deviceEvent(const PortEvent& event);
    void pathEvent(const PortEvent& event);
    // Opens devNode when it is the cable awaited back.
    void bringBack(const std::string& devNode);
    void refreshList();
    void replyMissing();
    // "<program> (pid N) also has <port> open." for each, or empty.
    std::string holdersText() const;

    TComm& comm_;
    QComboBox& list_;
    QLabel& status_;
    RadioLink& link_;
    TransferEngine& engine_;
    UserMessages& messages_;
    PortSources sources_;
    CableWatch cable_;
    std::unique_ptr<PathPortEvents> pathWatch_;
    std::string watchedPath_;
};

} // namespace zk
