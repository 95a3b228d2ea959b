# Entry points; the work is done by the scripts in scripts/.
#   make test        install what is missing, build everything, run all tests
#   make run         build the Windows program and start it under Wine
#   make run DATA=d  ... with the data folder d instead of data/
#   make dist        the Windows package build/dist/Zelkovane-<version>-win64.zip
#   make manual-pictures  copies the pictures `make test` refreshed (build/manual/pictures)
#                    into manual/pictures, to be committed
.PHONY: test run setup build prefix clean dist manual-pictures

DATA ?= data

test:
	@bash scripts/test.sh

run:
	@bash scripts/run.sh "$(DATA)"

setup:
	@bash scripts/setup.sh

build: setup
	@bash scripts/build.sh native && bash scripts/build.sh fuzz && bash scripts/build.sh windows

prefix: setup
	@bash scripts/build.sh windows zelko_test_printer && bash scripts/wine_prefix.sh build/wine-run --pdf-default

clean:
	rm -rf build

dist:
	@bash scripts/dist.sh

manual-pictures:
	@python3 scripts/manual_pictures.py copy manual/zelkovane_manual.md build/manual/pictures manual/pictures
