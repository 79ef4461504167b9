"""The one option of the whole-program checks: the program they run."""


def pytest_addoption(parser):
    parser.addoption("--program", required=True,
                     help="the phonebook program to check; a Windows program (.exe) runs under wine")
