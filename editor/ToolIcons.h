#pragma once
// The 32 x 32 pictures of the main window's tool bar, drawn at run time so
// the program carries no image files of its own.
#include <QIcon>

namespace zk::icons {

QIcon newPlan();
QIcon openPlan();
QIcon savePlan();
QIcon readRadio();
QIcon writeRadio();
QIcon remark();
QIcon password();

} // namespace zk::icons
