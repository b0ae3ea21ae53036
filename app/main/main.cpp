#include "app/startup.h"

int main(int argc, char **argv)
{
    return lirracal::runApplication(argc, argv);
}
