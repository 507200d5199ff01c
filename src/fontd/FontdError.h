#pragma once

// Names of the D-Bus errors pointillo-fontd answers; every one carries a message for people.
struct FontdError
{
    static constexpr const char* InvalidArgument = "TTEdit.Error.InvalidArgument";
    static constexpr const char* OpenFailed = "TTEdit.Error.OpenFailed";
    static constexpr const char* ImportFailed = "TTEdit.Error.ImportFailed";
    static constexpr const char* SaveFailed = "TTEdit.Error.SaveFailed";
    static constexpr const char* Failed = "TTEdit.Error.Failed";
};
