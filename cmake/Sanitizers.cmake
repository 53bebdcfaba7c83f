# TAVO_SANITIZE=ON builds everything with AddressSanitizer and UndefinedBehaviorSanitizer.
# Any report ends the test that caused it, so a sanitizer finding is a red test.
if(TAVO_SANITIZE)
    add_compile_options(-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()
