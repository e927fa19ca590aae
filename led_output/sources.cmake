target_sources(qelapp PRIVATE
  led_output/rcv_frame.h led_output/rcv_frame.cpp
  led_output/rcv_card.h led_output/rcv_card.cpp
  led_output/fpga_drv.h led_output/fpga_drv.cpp
  led_output/rcv_cmd.h led_output/rcv_cmd.cpp
  led_output/rcv_recovery_file.h led_output/rcv_recovery_file.cpp
  led_output/fpga_manage.h led_output/fpga_manage.cpp
  led_output/fpga_card_jobs.cpp led_output/fpga_scan_job.cpp led_output/fpga_recovery_job.cpp
  led_output/fpga_upgrade.cpp led_output/fpga_ageing.cpp
  led_output/locked_copy.h
)
