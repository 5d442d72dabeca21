// A module with nothing but its resources; its resource lookup comes from
// vesk_add_resource_module.
extern "C" __attribute__((visibility("default"))) int veskTestModule() { return 1; }
