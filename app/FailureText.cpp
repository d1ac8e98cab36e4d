#include "app/FailureText.h"

#include "platform/Faults.h"
#include "value/CTextError.h"

std::string FailureText(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        return error.what();
    } catch (const CTextError& error) {
        return error.Text();
    } catch (const CInvPrmException&) {
        return "_invalid_parameter";
    } catch (...) {
        return "error";
    }
}
