#pragma once

class CommandsUi
{
public:
    CommandsUi();
};
