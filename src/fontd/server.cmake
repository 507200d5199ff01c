# pointillo-fontd: the D-Bus service, its window and its service file.
