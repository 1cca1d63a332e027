#include "app/OrvantaApp.h"

COrvantaApp theApp;

// orvanta [FILE]: FILE is loaded at start as if it had been chosen in the file dialog.
int main(int argc, char** argv)
{
    if (argc > 1 && argv[1][0] != '-')
        theApp.m_strStartFile = argv[1];
    return AfxWinMain(argc, argv);
}
