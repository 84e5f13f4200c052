#pragma once
// The program's windows, created once in their fixed order and kept until
// the program ends. The main window's creation step (grid, port list, first
// port) therefore runs before the login window is ever shown.
#include "beizhu.h"
#include "f2.h"
#include "main.h"
#include "password.h"
#include "read.h"
#include "write.h"

#include <functional>
#include <string>

class Startup {
public:
    // endProgram ends the event loop; it runs when the login window is
    // closed with Yes. The main window ends the program by itself.
    // ports: where the main window's port list comes from.
    Startup(zk::UserMessages& messages, zk::FileDialogs& dialogs, std::function<void()> endProgram,
            std::string folder = zk::applicationFolder(), zk::PortSources ports = {});

    // Shows the login window, whose show handler loads picture and title.
    void start();

    // The program's endProgram: ends the event loop with status 0, as the
    // main window's Quit does.
    static void endEventLoop();

    // Declared, and so created, in the program's window order.
    TForm1 form1; // login window
    TForm2 form2; // main window
    TForm3 form3; // change password
    TForm4 form4; // remark
    TForm5 form5; // read from the radio
    TForm6 form6; // write to the radio
};
