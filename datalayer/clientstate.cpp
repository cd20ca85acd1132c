#include "datalayer/clientstate.h"

ClientState &Client()
{
    static ClientState state;
    return state;
}
