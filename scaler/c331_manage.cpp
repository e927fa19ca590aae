#include "scaler/c331_manage.h"

c331_manage *c331_manage::p_c331_manage = nullptr;
std::mutex c331_manage::para_mutex;
std::atomic<u8> c331_manage::para_update{0};

c331_manage::c331_manage() {}

c331_manage *c331_manage::pInstance()
{
    if (!p_c331_manage)
        p_c331_manage = new c331_manage();
    return p_c331_manage;
}

void c331_manage::destroyInstance()
{
    delete p_c331_manage;
    p_c331_manage = nullptr;
}

void c331_manage::pass() {}
void c331_manage::start() {}
void c331_manage::stop() {}
