# Tests of pointillo-fontd through its D-Bus interface.
