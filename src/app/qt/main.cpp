// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/qt/application.h"
#include "app/qt/command_line.h"
#include "app/qt/identity.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (auto status = vantric::answerWithoutWindow(argc, argv, std::cout, std::cerr))
        return *status;
    vantric::announceIdentity();
    return vantric::runApplication(argc, argv);
}
