#include "app/Application.h"

int main(int argc, char** argv)
{
    return marten::runOnboarding(marten::Variant::Full, argc, argv);
}
